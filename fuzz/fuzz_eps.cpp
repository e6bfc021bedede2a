// Arbitrary bytes imported as an EPS file through the interpreter, as both import entries run
// it, into a fresh page: any result is fine, a crash, a hang or undefined behaviour is not.
#include "design/design_page.h"
#include "maltrec/import/eps_interpreter.h"

#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<CDesignPage> page(static_cast<CDesignPage*>(CDesignPage::CreateObject()));
    CEPSInterpreter eps(nullptr, page.get(), L"fuzz.eps");
    // Small budgets keep every input fast; the real limits only scale them.
    eps.SetPointBudget(200000);
    // Two progress dialogs per input would take most of each run.
    eps.SetProgressShown(false);
    if (eps.ReadBytes(std::vector<BYTE>(data, data + size)))
        (void)eps.Run();
    return 0;
}
