#pragma once

// Keeps the OpenGL driver that the process has loaded (Mesa's *_dri.so or libgallium, and its GLX
// library libGLX_mesa) loaded until the process ends, and returns how many such libraries it found.
//
// The driver is unloaded when the last GL context goes. Memory it allocated once and keeps only in
// its own globals then points nowhere, and LeakSanitizer reports it as a leak of an unknown module.
// The game itself never releases its context before it exits, so pinning the driver makes a test
// that builds and destroys games see the driver as the game does, while a leak of our own still shows.
// A library kept loaded is also named in a leak report's stack, so a suppression by its name applies.
int pinGraphicsDriver();
