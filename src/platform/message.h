#pragma once

#include <QString>

#include <functional>

namespace vellara::platform {

// The title of every message box the program shows.
inline constexpr char kProgramTitle[] = "Vellara 2.5";

// Shows a modal message box titled "Vellara 2.5" with the text and one OK
// button, and returns after OK. Every message of the program goes through here.
void showMessage(const QString &text);

// Replaces the message box, for tests that want to see what the user would be
// told without answering a box. An empty handler restores the real box.
// Returns the handler that was in place.
using MessageHandler = std::function<void(const QString &text)>;
MessageHandler setMessageHandler(MessageHandler handler);

} // namespace vellara::platform
