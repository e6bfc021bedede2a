// CCommandManager: which image of the loaded toolbar bitmaps shows which command. Every toolbar
// resource loaded adds one image per button after those loaded before; a command keeps the
// first image it got, so a button put on any bar (a replacement, a menu) finds it by command.
#pragma once

#include "platform/core/types.h"

#include <map>

class CCommandManager {
public:
    // -1 when the command has no image.
    int GetCmdImage(UINT cmd) const;
    void SetCmdImage(UINT cmd, int image);
    void ClearCmdImage(UINT cmd);
    void ClearAllCmdImages();
    // The next free image index of the collection (the count of images loaded).
    int GetImageCount() const { return m_nImages; }
    // Reserves count images after the loaded ones; the first of them.
    int AddImages(int count);

private:
    std::map<UINT, int> m_images;
    int m_nImages = 0;
};

CCommandManager* GetCmdMgr();
