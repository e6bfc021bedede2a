#!/bin/bash
# A private CUPS scheduler for tests, on a loopback port, in a folder of its own.
#   cups_server.sh start DIR   starts it; DIR/server then holds "127.0.0.1:PORT" and a raw queue
#                              "VanterTest" sends every job to the loopback port written in
#                              DIR/target (a listener of the test); two more raw queues, "Fax"
#                              and "Office_Fax", send to DIR/fax.
#   cups_server.sh stop DIR    stops it by its own PID.
# A test run shares one (CTest fixture "kelvane_cups"); see cups_scheduler.h.
# The system's own scheduler is never touched.
set -u
cmd=${1:-}
dir=${2:-}
[ -n "$cmd" ] && [ -n "$dir" ] || { echo "usage: $0 start|stop DIR" >&2; exit 2; }

stop() {
    if [ -f "$dir/cupsd.pid" ]; then
        pid=$(cat "$dir/cupsd.pid")
        kill "$pid" 2>/dev/null
        for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$pid" 2>/dev/null
        rm -f "$dir/cupsd.pid"
    fi
}

if [ "$cmd" = stop ]; then
    stop
    exit 0
fi

command -v cupsd >/dev/null || PATH=$PATH:/usr/sbin
command -v cupsd >/dev/null || { echo "cupsd is not installed" >&2; exit 1; }
mkdir -p "$dir"/{bin/backend,bin/filter,spool,tmp,cache,state,log,ssl,ppd}
chmod 0755 "$dir" "$dir/bin" "$dir/bin/backend" "$dir/bin/filter"
chmod 1777 "$dir/tmp"
ln -sfn /usr/lib/cups/daemon "$dir/bin/daemon"
ln -sfn /usr/lib/cups/notifier "$dir/bin/notifier"

# The backend: sends the job's bytes to the loopback port named in the file of its device URI.
cat > "$dir/bin/backend/vsock" <<'BACKEND'
#!/bin/bash
if [ $# -eq 0 ]; then
    echo 'network vsock "Unknown" "Loopback test socket"'
    exit 0
fi
target="${DEVICE_URI#vsock:}"
echo "$3" > "$target.title"
port=$(cat "$target" 2>/dev/null) || { echo "ERROR: no target port" >&2; exit 1; }
exec 3<>"/dev/tcp/127.0.0.1/$port" || { echo "ERROR: cannot connect to $port" >&2; exit 1; }
if [ $# -ge 6 ]; then cat "$6" >&3; else cat >&3; fi
exec 3>&-
exit 0
BACKEND
# Mode 0700: the scheduler runs it as root and does not refuse it as insecure.
chmod 0700 "$dir/bin/backend/vsock"

for _ in $(seq 20); do
    port=$(( 20000 + RANDOM % 20000 ))
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null || break
done

cat > "$dir/cups-files.conf" <<CONF
ServerRoot $dir
RequestRoot $dir/spool
TempDir $dir/tmp
CacheDir $dir/cache
StateDir $dir/state
ServerBin $dir/bin
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
ServerKeychain $dir/ssl
Sandboxing Relaxed
FileDevice No
CONF

cat > "$dir/cupsd.conf" <<CONF
Listen 127.0.0.1:$port
Listen $dir/cups.sock
Browsing No
BrowseLocalProtocols none
WebInterface No
LogLevel warn
DefaultAuthType None
PreserveJobHistory Yes
# The queue is shared by a whole test run: a failed job must not stop it for the next test.
ErrorPolicy abort-job
<Location />
  Order allow,deny
  Allow 127.0.0.1
  Allow localhost
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
DefaultPolicy default
CONF

stop
cupsd -t -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" >"$dir/log/check" 2>&1 ||
    { cat "$dir/log/check" >&2; exit 1; }
cupsd -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" >"$dir/log/stdout" 2>&1 &
echo $! > "$dir/cupsd.pid"
echo "127.0.0.1:$port" > "$dir/server"

export CUPS_SERVER="127.0.0.1:$port"
# A loaded machine (a parallel test run) can take many seconds to start a scheduler.
for _ in $(seq 600); do
    lpstat -r >/dev/null 2>&1 && break
    sleep 0.1
done
lpstat -r >/dev/null 2>&1 || { echo "scheduler did not start" >&2; cat "$dir/log/error_log" >&2 2>/dev/null; stop; exit 1; }
touch "$dir/target"
for queue in VanterTest Fax Office_Fax; do
    target=$dir/target
    [ "$queue" = VanterTest ] || target=$dir/fax
    lpadmin -p "$queue" -E -v "vsock:$target" -m raw >"$dir/log/lpadmin" 2>&1 ||
        { cat "$dir/log/lpadmin" >&2; stop; exit 1; }
done
exit 0
