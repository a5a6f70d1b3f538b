// Message boxes of three kinds, all through one seam: tests install an answerer that sees each
// box's kind and text and gives a scripted answer instead of showing a window.
#pragma once

#include <functional>
#include <string>

namespace tk {

enum class MessageKind {
  Error,    // error icon, OK
  Warning,  // warning icon, Yes and No
  Plain,    // no icon, OK
};

enum class MessageAnswer { Ok, Yes, No, Cancel };

using MessageAnswerer = std::function<MessageAnswer(MessageKind kind, const std::string& text)>;

// Installs an answerer (none restores real message boxes); returns the one it replaces.
MessageAnswerer SetMessageAnswerer(MessageAnswerer answerer);

// Shows a box owned by the active window of the program; text is GBK.
MessageAnswer ShowMessage(MessageKind kind, const std::string& text);

// For a text that names something GBK cannot hold, such as a folder as the system shows it:
// the box shows the wide text itself; an answerer sees it in GBK, with '?' for those characters.
MessageAnswer ShowMessage(MessageKind kind, const std::wstring& text);

inline void ShowError(const std::string& text) { ShowMessage(MessageKind::Error, text); }
inline void ShowError(const std::wstring& text) { ShowMessage(MessageKind::Error, text); }
inline void ShowPlain(const std::string& text) { ShowMessage(MessageKind::Plain, text); }
// Yes and No; any answer other than No counts as yes.
inline bool ConfirmWarning(const std::string& text) {
  return ShowMessage(MessageKind::Warning, text) != MessageAnswer::No;
}

}  // namespace tk
