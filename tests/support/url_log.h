// The log that the prefix's http handler (scripts/url-recorder.c) writes: one address a line,
// byte for byte as the program passed it. Read by the tests and by the end-to-end driver.
#pragma once

#include <stdio.h>

#include <string>
#include <vector>

inline std::vector<std::string> ReadUrlLog(const char* path) {
  std::vector<std::string> lines;
  FILE* file = path ? fopen(path, "rb") : nullptr;
  if (!file) return lines;
  std::string line;
  for (int c; (c = fgetc(file)) != EOF;) {
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
      line.clear();
    } else {
      line += static_cast<char>(c);
    }
  }
  fclose(file);
  return lines;
}
