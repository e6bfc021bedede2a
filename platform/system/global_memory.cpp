#include "platform/system/global_memory.h"

#include <memory>
#include <new>
#include <unordered_set>
#include <vector>

namespace {

struct Block {
    std::vector<BYTE> bytes;
    int locks = 0;
};

std::unordered_set<Block*>& Live() {
    static std::unordered_set<Block*> live;
    return live;
}

Block* B(HGLOBAL h) {
    auto* b = static_cast<Block*>(h);
    return b && Live().count(b) ? b : nullptr;
}

} // namespace

HGLOBAL GlobalAlloc(UINT, size_t bytes) {
    if (bytes == 0)
        return nullptr;
    auto* b = new (std::nothrow) Block;
    if (!b)
        return nullptr;
    try {
        b->bytes.assign(bytes, 0); // always zeroed: nothing of an earlier block shows through
    } catch (const std::bad_alloc&) {
        delete b;
        return nullptr;
    }
    Live().insert(b);
    return b;
}

LPVOID GlobalLock(HGLOBAL h) {
    Block* b = B(h);
    if (!b)
        return nullptr;
    ++b->locks;
    return b->bytes.data();
}

BOOL GlobalUnlock(HGLOBAL h) {
    Block* b = B(h);
    if (!b || b->locks == 0)
        return FALSE;
    return --b->locks > 0;
}

size_t GlobalSize(HGLOBAL h) {
    Block* b = B(h);
    return b ? b->bytes.size() : 0;
}

HGLOBAL GlobalFree(HGLOBAL h) {
    Block* b = B(h);
    if (!b)
        return h;
    Live().erase(b);
    delete b;
    return nullptr;
}

namespace platform {

bool IsGlobalBlock(HGLOBAL h) {
    return B(h) != nullptr;
}

int GlobalBlockCount() {
    return int(Live().size());
}

} // namespace platform
