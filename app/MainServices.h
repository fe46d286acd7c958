// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class IPowerOffService;
class IPrompts;
class IShellService;
class ISleepInhibitor;

// What the main window asks of the desktop, handed to it when it is made.
// A service left null is the real one (no sleep inhibitor at all); the window
// does not own them, and they must outlive it.
struct MainServices {
  IPrompts* prompts = nullptr;
  IShellService* shell = nullptr;
  IPowerOffService* powerOff = nullptr;
  ISleepInhibitor* sleepInhibitor = nullptr;
};
