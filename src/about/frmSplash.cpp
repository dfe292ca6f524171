#include "about/frmSplash.h"

#include "base/LibraryFacts.h"
#include "base/Module1.h"
#include "errors/Trap.h"
#include "platform/PerThread.h"

namespace jotwell {

namespace {

constexpr Procedure kForm_Load = "frmSplash![Sub Form_Load]";
constexpr Procedure kForm1_Click = "frmSplash![Sub Form1_Click]";
constexpr Procedure kForm_KeyPress = "frmSplash![Sub Form_KeyPress]";
constexpr Procedure kFrame1_Click = "frmSplash![Sub Frame1_Click]";
constexpr Procedure kLblProductName_Click = "frmSplash![Sub lblProductName_Click]";
constexpr Procedure kLabel4_Click = "frmSplash![Sub Label4_Click]";
constexpr Procedure kLabel5_Click = "frmSplash![Sub Label5_Click]";
constexpr Procedure kLabel5_DblClick = "frmSplash![Sub Label5_DblClick]";

}  // namespace

void frmSplash::ShowModal() {
  if (!loaded_) {
    loaded_ = true;
    Form_Load();
  }
  CurrentDesktop()->ShowAbout(*this);
  loaded_ = false;
}

frmSplash& ThisThreadSplash() { return platform::PerThread<frmSplash>(); }

// lblProductName, Label1, Label5, lblPlatform, lblVersion and Label4.
std::vector<AboutWindow::Label> frmSplash::Labels() const {
  return {{Role::Title, lblProductName_},         {Role::Kind, "ActiveX Dll"},
          {Role::HomePageLink, "Jotwell home page"}, {Role::Platform, "Windows 95/98/NT"},
          {Role::Version, lblVersion_},            {Role::MakerLink, kMakerName}};
}

void frmSplash::Clicked(Area area) {
  if (area == Area::Background) Form1_Click();
  else Frame1_Click();
}

void frmSplash::Clicked(Role label) {
  switch (label) {
    case Role::Title: lblProductName_Click(); break;
    case Role::HomePageLink: Label5_Click(); break;
    case Role::MakerLink: Label4_Click(); break;
    default: break;
  }
}

void frmSplash::DoubleClicked(Role label) {
  if (label == Role::HomePageLink) Label5_DblClick();
}

void frmSplash::KeyPressed(Integer& keyAscii) { Form_KeyPress(keyAscii); }

void frmSplash::Form_Load() {
  RunTraced(kForm_Load, NoRegistrations, [&](Trap& trap) {
    trap.Do([&] { Module1::Sound(); });
    trap.Do([&] { lblVersion_ = "Version " + VersionText(); });
    trap.Do([&] { lblProductName_ = kApplicationTitle; });
  });
}

void frmSplash::Form1_Click() {
  RunTraced(kForm1_Click, NoRegistrations, [&](Trap& trap) { trap.Do([&] { Unload(); }); });
}

void frmSplash::Form_KeyPress(Integer& KeyAscii) {
  RunTraced(
      kForm_KeyPress, [&](Registrations& r) { r.Arguments({{"KeyAscii", KeyAscii}}); },
      [&](Trap& trap) { trap.Do([&] { Unload(); }); });
}

void frmSplash::Frame1_Click() {
  RunTraced(kFrame1_Click, NoRegistrations, [&](Trap& trap) { trap.Do([&] { Unload(); }); });
}

void frmSplash::lblProductName_Click() {
  RunTraced(kLblProductName_Click, NoRegistrations,
            [&](Trap& trap) { trap.Do([&] { Unload(); }); });
}

void frmSplash::Label4_Click() {
  RunTraced(kLabel4_Click, NoRegistrations,
            [&](Trap& trap) { trap.Do([&] { OpenLink(kMakerMail); }); });
}

void frmSplash::Label5_Click() {
  RunTraced(kLabel5_Click, NoRegistrations,
            [&](Trap& trap) { trap.Do([&] { OpenLink(kHomePage); }); });
}

void frmSplash::Label5_DblClick() {
  RunTraced(kLabel5_DblClick, NoRegistrations,
            [&](Trap& trap) { trap.Do([&] { OpenLink(kHomePage); }); });
}

void frmSplash::OpenLink(const char* target) {
  String verb = "Open";
  Variant file = String(target);
  Variant parameters = Long(0);
  Variant directory = Long(0);
  Long showNormally = 1;
  Module1::RunShellExecute(verb, file, parameters, directory, showNormally);
}

}  // namespace jotwell
