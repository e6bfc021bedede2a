#include "design/tools/key_override_table.h"

#include <algorithm>

std::vector<ACCEL> ApplyKeyOverrides(std::vector<ACCEL> entries, TKeyOverride* rows, int count) {
    if (!rows)
        count = 0;
    for (ACCEL& a : entries)
        for (int i = 0; i < count; ++i)
            if (rows[i].fVirt == a.fVirt && rows[i].key == a.key) {
                a.cmd = rows[i].cmd;
                rows[i].matched = 1;
            }
    std::erase_if(entries, [](const ACCEL& a) { return a.cmd == 0; });
    for (int i = 0; i < count; ++i)
        if (!rows[i].matched && rows[i].cmd != 0)
            entries.push_back(ACCEL{rows[i].fVirt, rows[i].key, rows[i].cmd});
    return entries;
}
