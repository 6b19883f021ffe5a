// Long options on a command line, read with getopt_long: --name, --name VALUE or --name=VALUE.
// No abbreviations and no other arguments are taken, so a mistyped option is always named.
#pragma once

#include <string>
#include <vector>

namespace cmdline {

struct OptionRule {
    const char* name;  // without the dashes
    bool takesValue = false;
    bool repeatable = false;  // otherwise a second one is an error
    char shortName = 0;       // a one-letter alias such as -h, or 0
};

struct Given {
    std::string name;  // as its rule spells it
    std::string value;
};

// args without the program's name. Returns the options in command-line order, or false with a
// one-line message: an unknown option or a stray argument (both ending "(try --help)"), a
// missing value, a value given to a flag, an option given twice.
bool Parse(const std::vector<std::string>& args, const std::vector<OptionRule>& rules,
           std::vector<Given>* out, std::string* error);

}  // namespace cmdline
