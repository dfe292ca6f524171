// The About window: its texts and its handlers. The Desktop draws it.
#pragma once

#include "jotwell/Desktop.h"

namespace jotwell {

class frmSplash final : public AboutWindow {
 public:
  // Loads the window and shows it modally; returns once it is closed.
  void ShowModal();

  std::vector<Label> Labels() const override;
  bool IsLoaded() const override { return loaded_; }

  void Clicked(Area area) override;
  void Clicked(Role label) override;
  void DoubleClicked(Role label) override;
  void KeyPressed(Integer& keyAscii) override;

  void Form1_Click();
  void Form_KeyPress(Integer& KeyAscii);
  void Frame1_Click();
  void lblProductName_Click();
  void Label4_Click();
  void Label5_Click();
  void Label5_DblClick();

 private:
  void Form_Load();
  void Unload() { loaded_ = false; }
  static void OpenLink(const char* target);

  bool loaded_ = false;
  String lblProductName_ = "Jotwell";
  String lblVersion_ = "Version";
};

// The calling thread's About window, created on first use.
frmSplash& ThisThreadSplash();

}  // namespace jotwell
