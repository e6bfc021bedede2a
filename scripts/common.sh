# Shared by scripts/run and scripts/test: install what is missing, then configure and build.
set -euo pipefail
TOP=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
JOBS=${JOBS:-$(nproc 2>/dev/null || echo 4)}

install_packages() {
    local missing=()
    while read -r pkg; do
        pkg=${pkg%%#*}; pkg=${pkg//[[:space:]]/}
        [ -n "$pkg" ] || continue
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done < "$TOP/scripts/packages"
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -q
    $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# configure_and_build <build dir> [cmake options...]
configure_and_build() {
    local dir=$1; shift
    cmake -S "$TOP" -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" -j "$JOBS"
}

# check_format: every C++ source and header follows .clang-format.
check_format() {
    local files
    if git -C "$TOP" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        files=$(git -C "$TOP" ls-files '*.cpp' '*.h')
    else
        files=$(cd "$TOP" && find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
    fi
    (cd "$TOP" && echo "$files" | xargs -r clang-format --dry-run --Werror) || {
        echo "Formatting differs from .clang-format in the files above: run clang-format -i on them."
        return 1
    }
}
