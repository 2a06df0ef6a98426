// The names the desktop knows the game by.
#pragma once

namespace kazoomba::ui {

// Application name (settings folder), version and desktop entry. No display name is set: the toolkit
// would append it to every title the window manager shows, and each window carries its own caption.
void NameApplication();

}  // namespace kazoomba::ui
