// A module named like a language bundle that exports no table.
extern "C" __attribute__((visibility("default"))) int SomethingElse() {
    return 1;
}
