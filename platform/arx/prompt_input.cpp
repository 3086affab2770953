// Provisional queue of prompt answers (the host's script runner replaces it).
#include "arx/prompt_input.h"

#include <deque>

#include "arx/adscodes.h"
#include "win/transcript.h"

namespace platform {
namespace {
std::deque<std::string>& tokens() {
  static std::deque<std::string> q;
  return q;
}
}  // namespace

int readPromptToken(const char* prompt, std::string& token) {
  if (prompt && *prompt) transcriptWrite(prompt);
  if (tokens().empty()) return RTCAN;
  token = tokens().front();
  tokens().pop_front();
  transcriptWrite(token + "\n");
  return token.empty() ? RTNONE : RTNORM;
}

void queuePromptToken(std::string_view token) { tokens().emplace_back(token); }
void clearPromptTokens() { tokens().clear(); }

}  // namespace platform
