#include <gtest/gtest.h>
#include <langinfo.h>
#include <locale.h>
#include <sys/wait.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "crt/numeric.h"
#include "mfc/cstring.h"
#include "platform/test_support.h"

namespace {

// Builds a German locale (decimal comma) into a folder with the C library's
// locale compiler; false when the machine has no locale sources.
bool makeCommaLocale(const std::string& folder) {
  std::string cmd = "localedef -i de_DE -f UTF-8 '" + folder + "/de_DE.UTF-8' >/dev/null 2>&1";
  return std::system(cmd.c_str()) == 0;
}

// Numbers printed and read back on the calling thread, as one line.
std::string numbersHere() {
  char text[128];
  double scanned = 0;
  std::sscanf("7.75", "%lf", &scanned);
  std::snprintf(text, sizeof text, "%.3f %g", 1234.5, 0.25);
  std::string line = text;
  std::snprintf(text, sizeof text, " read %d %d", std::strtod("2.5", nullptr) == 2.5, scanned == 7.75);
  return line + text;
}

// Runs in a child process (the locale of the test process stays as it is):
// sets the user's locale for the process, then reports what the main thread
// and a second thread print and read.
std::string reportUnderGermanLocale(const std::string& localeFolder) {
  setenv("LOCPATH", localeFolder.c_str(), 1);
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) return "no locale";
  std::string report;
  locale_t german = newlocale(LC_ALL_MASK, "de_DE.UTF-8", static_cast<locale_t>(0));
  report += std::string("radix ") + (german ? nl_langinfo_l(RADIXCHAR, german) : "?") + "\n";
  report += "main " + numbersHere() + "\n";
  CString formatted;
  formatted.Format("%.2f", 3.5);
  report += "format " + formatted.str() + "\n";
  std::thread worker([&] {
    report += "thread " + numbersHere() + "\n";
    platform::useCLocaleOnThisThread();
    report += "thread after " + numbersHere() + "\n";
  });
  worker.join();
  return report;
}

TEST(NumericLocaleTest, NumbersStayInTheCLocaleWhateverTheUserLocale) {
  testsupport::TempFolder tmp;
  if (!makeCommaLocale(tmp.path())) GTEST_SKIP() << "localedef or the de_DE locale source is not available";

  int pipeFds[2];
  ASSERT_EQ(pipe(pipeFds), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(pipeFds[0]);
    std::string report = reportUnderGermanLocale(tmp.path());
    ssize_t ignored = write(pipeFds[1], report.data(), report.size());
    (void)ignored;
    _exit(0);
  }
  close(pipeFds[1]);
  std::string report;
  char chunk[256];
  ssize_t n;
  while ((n = read(pipeFds[0], chunk, sizeof chunk)) > 0) report.append(chunk, static_cast<size_t>(n));
  close(pipeFds[0]);
  int status = 0;
  waitpid(child, &status, 0);

  EXPECT_EQ(report,
            "radix ,\n"                                      // the user's locale was in force...
            "main 1234.500 0.25 read 1 1\n"                  // ...but not on the main thread
            "format 3.50\n"
            "thread 1234,500 0,25 read 0 0\n"                // a new thread follows the user's locale
            "thread after 1234.500 0.25 read 1 1\n");        // until it asks for "C"
}

}  // namespace
