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
class JOTWELL_EXPORT ReportWindow {
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

// The About window as the library keeps it: its labels by role and its
// reactions to what the user did. A Desktop draws the labels and reports
// clicks, double-clicks and keys; the window decides what they do (a click
// on the background, the frame or the title closes it, a link opens its
// target). A toolkit reports a double-click after the click it began with.
class JOTWELL_EXPORT AboutWindow {
 public:
  enum class Role { Title, Kind, HomePageLink, Platform, Version, MakerLink };
  struct Label {
    Role role;
    String text;
  };
  // Where a click lands when it is on no label.
  enum class Area { Background, Frame };

  virtual std::vector<Label> Labels() const = 0;
  virtual bool IsLoaded() const = 0;

  virtual void Clicked(Area area) = 0;
  virtual void Clicked(Role label) = 0;
  virtual void DoubleClicked(Role label) = 0;
  // A key that produces a character; keyAscii is that character's code.
  virtual void KeyPressed(Integer& keyAscii) = 0;

 protected:
  ~AboutWindow() = default;
};

class JOTWELL_EXPORT Desktop {
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
JOTWELL_EXPORT void SetDesktop(std::shared_ptr<Desktop> desktop);
// The library's Desktop for no display: every message box and report is a
// block on standard error, reports are answered Abort, the About window
// closes at once and prints nothing, sounds are silent. A host that runs
// from scripts installs it with SetDesktop to keep windows away.
JOTWELL_EXPORT std::shared_ptr<Desktop> HeadlessDesktop();
// The Desktop in use.
JOTWELL_EXPORT std::shared_ptr<Desktop> CurrentDesktop();

}  // namespace jotwell
