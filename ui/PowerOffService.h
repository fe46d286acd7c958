// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Asks the system to switch the machine off. Tests put a recording service in
// place, so no test ever reaches the real request.
class IPowerOffService {
 public:
  virtual ~IPowerOffService() = default;
  virtual void PowerOff() = 0;
};

// logind's Manager.PowerOff on the system bus. Other programs' inhibitors are
// honoured (nothing is forced) and polkit may ask the user for the right. The
// call is sent without waiting: a refusal leaves the program running as before.
class LogindPowerOffService : public IPowerOffService {
 public:
  void PowerOff() override;
};
