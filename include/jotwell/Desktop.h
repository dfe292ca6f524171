// Everything the library shows the user or plays: the seam hosts and tests
// may replace. Implementations must be callable from any thread; each call
// blocks only its calling thread.
#pragma once

#include <memory>
#include <vector>

#include "jotwell/ValueTypes.h"

namespace jotwell {

enum class MessageIcon { Critical, Information };

// The error report window as the library keeps it. The Desktop draws it and
// forwards button presses; pressing a choice button unloads the window.
class ReportWindow {
 public:
  static constexpr Integer kAbortButton = 0;
  static constexpr Integer kRetryButton = 1;
  static constexpr Integer kIgnoreButton = 2;
  static constexpr Integer kCopyButton = 3;

  virtual const String& Text() const = 0;
  virtual void PressButton(Integer index) = 0;
  virtual bool IsLoaded() const = 0;

 protected:
  ~ReportWindow() = default;
};

// The About window as the library keeps it: its texts and its handlers.
// Closing handlers unload it; the link handlers leave it open.
class AboutWindow {
 public:
  struct Label {
    const char* control;  // lblProductName, Label1, Label5, lblPlatform, lblVersion, Label4
    String text;
  };
  virtual std::vector<Label> Labels() const = 0;
  virtual bool IsLoaded() const = 0;

  virtual void Form1_Click() = 0;
  virtual void Form_KeyPress(Integer& KeyAscii) = 0;
  virtual void Frame1_Click() = 0;
  virtual void lblProductName_Click() = 0;
  virtual void Label4_Click() = 0;
  virtual void Label5_Click() = 0;
  virtual void Label5_DblClick() = 0;

 protected:
  ~AboutWindow() = default;
};

class Desktop {
 public:
  virtual ~Desktop() = default;

  // A modal box with the single button OK; returns once it is closed.
  virtual void ShowMessageBox(const String& title, const std::vector<String>& promptLines,
                              MessageIcon icon) = 0;
  // Shows the report window modally; returns once the window is unloaded by
  // a choice button or closed by the user without one.
  virtual void ShowReport(ReportWindow& window) = 0;
  // The report window is already shown and its text has been replaced.
  virtual void RefreshReport(ReportWindow& window) = 0;
  virtual void ShowAbout(AboutWindow& window) = 0;
  virtual void SetClipboardText(const String& text) = 0;
  virtual void PlayExclamation() = 0;
  virtual void Beep() = 0;
  // Hands a document or address to the desktop's default application.
  // Failures are not reported.
  virtual void Open(const String& verb, const String& file, const String& parameters,
                    const String& directory, Long showCommand) = 0;
};

// Replaces the Desktop for the whole process; nullptr restores the default.
void SetDesktop(std::shared_ptr<Desktop> desktop);
// The Desktop in use.
std::shared_ptr<Desktop> CurrentDesktop();

}  // namespace jotwell
