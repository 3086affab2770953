#pragma once
// Where the editor's prompts take their answers: the tokens of the running
// script (arx/edcmdline.h), or answers a test queued here, which come first.

#include <string>
#include <string_view>

#include "platform_api.h"

namespace platform {

// Shows `prompt` on the transcript and takes the next answer token, showing it
// after the prompt. Returns RTNORM with the token, RTNONE for an empty answer
// (Enter), RTCAN when no answer is left: in a script run that ends the run
// with an error naming the prompt; for the answers given to acedCommand it
// only cancels the prompt.
PLATFORM_API int readPromptToken(const char* prompt, std::string& token);
// Queues answer tokens for the next prompts ("" is Enter).
PLATFORM_API void queuePromptToken(std::string_view token);
PLATFORM_API void clearPromptTokens();

}  // namespace platform
