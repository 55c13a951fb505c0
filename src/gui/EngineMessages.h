#pragma once

#include <QString>

#include <string>

// An engine's message (a run's refusal or failure, a reader's error) in the window's language.
// The engines write English sentences with values in them; the known sentences are matched
// against patterns with %1.. for the values and translated, the values each translated again
// where they are known sentences themselves, and a list of sentences ("a; b") one by one. Anything
// unknown shows as the engine wrote it.
QString engineMessage(const std::string& text);
QString engineMessage(const QString& text);
