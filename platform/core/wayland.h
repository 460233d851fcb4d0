#pragma once
// The bar lives by its position and by staying on top, both of which a Wayland compositor
// refuses to a native client. Under a Wayland session the program therefore runs through
// XWayland (Qt's xcb platform), falling back to Wayland only when there is no XWayland, unless
// the user has chosen a platform with QT_QPA_PLATFORM. Call before the application object
// exists.

void PreferX11UnderWayland();
