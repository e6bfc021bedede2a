#include "platform/framework/command_manager.h"

int CCommandManager::GetCmdImage(UINT cmd) const {
    auto it = m_images.find(cmd);
    return it != m_images.end() ? it->second : -1;
}

void CCommandManager::SetCmdImage(UINT cmd, int image) {
    if (image < 0)
        m_images.erase(cmd);
    else
        m_images[cmd] = image;
}

void CCommandManager::ClearCmdImage(UINT cmd) {
    m_images.erase(cmd);
}

void CCommandManager::ClearAllCmdImages() {
    m_images.clear();
    m_nImages = 0;
}

int CCommandManager::AddImages(int count) {
    const int first = m_nImages;
    if (count > 0)
        m_nImages += count;
    return first;
}

CCommandManager* GetCmdMgr() {
    static CCommandManager manager;
    return &manager;
}
