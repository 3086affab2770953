// The script reader and LISP forms: any text as a script, read token by token
// to its end (answer lines go to the answer queue, emptied after each input),
// and as one form.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "arx/edscript.h"
#include "win/answers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  platform::ScriptReader reader;
  reader.append("fuzz", text);
  // A second source behind the first: answer lines are looked for across them.
  reader.append("fuzz2", text.substr(0, text.size() / 2));
  // Every token takes at least one byte, so the walk ends.
  for (size_t tokens = 0; tokens <= 2 * text.size() + 4; ++tokens) {
    platform::ScriptToken t = reader.next();
    if (t.kind == platform::ScriptToken::End) break;
  }
  std::vector<platform::LispAtom> items;
  std::string error;
  platform::parseLispForm(text, items, error);
  platform::clearAnswers();
  return 0;
}
