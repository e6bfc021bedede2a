// Top-level windows on X11 use the screen's default colormap where their visual is the root
// visual. Qt gives each window a colormap of its own; screen grabs that read the screen window by
// window when colormaps differ (xwd, some remote-desktop servers) then show those windows black.
#pragma once

namespace platform::display {

// Watches every window Qt creates from now on; does nothing on other platforms.
void InstallDefaultColormaps();
void RemoveDefaultColormaps();

} // namespace platform::display
