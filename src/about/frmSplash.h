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

  void Form1_Click() override;
  void Form_KeyPress(Integer& KeyAscii) override;
  void Frame1_Click() override;
  void lblProductName_Click() override;
  void Label4_Click() override;
  void Label5_Click() override;
  void Label5_DblClick() override;

 private:
  void Form_Load();
  void Unload() { loaded_ = false; }
  static void OpenLink(const char* target);

  bool loaded_ = false;
  String lblProductName_ = "Jotwell";
  String lblVersion_ = "Version";
};

}  // namespace jotwell
