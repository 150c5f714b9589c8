#include <gtest/gtest.h>

#include "common/ParameterString.h"

namespace {

struct ReadCase {
    const char* Text;
    const char* Name;
    const char* Expected;
};

TEST(ParameterString, Reading) {
    const ReadCase cases[] = {
        {"FileName=a.pcb|FileType=LIA", "FileName", "a.pcb"},
        {"FileName=a.pcb|FileType=LIA", "filetype", "LIA"},        // names ignore case
        {"  FileName =  a b.pcb  |x=1", "FileName", "a b.pcb"},    // trimmed
        {"FileName|FileType=LIA", "FileName", ""},                 // no '=': ignored
        {"=x|FileType=LIA", "", ""},                               // empty name: ignored
        {"Path=a=b", "Path", "a=b"},                               // name ends at the first '='
        {"A=1|A=2", "A", "1"},                                     // the first pair counts
        {"", "Missing", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(common::TParameterString(c.Text).Get(c.Name), c.Expected) << c.Text;
}

struct WriteCase {
    const char* Text;
    const char* Name;
    const char* Value;
    const char* Expected;
};

TEST(ParameterString, Writing) {
    const WriteCase cases[] = {
        {"FileName=a.pcb", "Result", "True", "FileName=a.pcb|Result=True"},
        {"Result=False|FileName=a.pcb", "result", " True ", "Result=True|FileName=a.pcb"},
        {"FileName=a.pcb", "Result", "", "FileName=a.pcb|Result= "},  // empty value: one space
        {"bad|=x|A=1", "B", "2", "A=1|B=2"},
        {"", "A", "1", "A=1"},
    };
    for (const auto& c : cases) {
        common::TParameterString params(c.Text);
        params.Set(c.Name, c.Value);
        EXPECT_EQ(params.Text(), c.Expected) << c.Text;
    }
}

TEST(ParameterString, WrittenTextReadsBack) {
    common::TParameterString params("FileName=x|Result=");
    EXPECT_EQ(params.Text(), "FileName=x|Result= ");
    EXPECT_EQ(common::TParameterString(params.Text()).Get("Result"), "");
}

}  // namespace
