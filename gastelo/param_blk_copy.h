// Copying a parameter block the way a design file would: stored into a memory file, rewound
// and loaded into the target, so that only what a file holds is copied.
#pragma once

class CObject;
class CParamBlk;

// target: a block of the source's class (or derived), or null for a new one. Returns the
// target, or null when target is of another class (it is then left alone).
CObject* CopyParamBlkThroughArchive(CParamBlk& source, CObject* target);
