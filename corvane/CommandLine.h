#pragma once
// Output of the model code to the editor's command line (the transcript).

// printf formats, written to the command line as they are.
void CommandLinePrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
