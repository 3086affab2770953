#pragma once
// Where the editor's prompts take their answers: the running script's tokens
// (the host fills this queue), or a test.

#include <string>
#include <string_view>

#include "platform_api.h"

namespace platform {

// Shows `prompt` on the transcript and takes the next answer token.
// Returns RTNORM with the token, RTNONE for an empty answer (Enter), RTCAN
// when no answer is left.
PLATFORM_API int readPromptToken(const char* prompt, std::string& token);
// Queues answer tokens ("" is Enter).
PLATFORM_API void queuePromptToken(std::string_view token);
PLATFORM_API void clearPromptTokens();

}  // namespace platform
