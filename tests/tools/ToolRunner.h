#pragma once

// Runs the built lvtool with arguments (no shell) and collects its exit status and output.

#include <string>
#include <vector>

namespace lv::test {

struct ToolResult {
    int status = -1;
    std::string out;
    std::string err;
};

ToolResult runTool(const std::vector<std::string>& arguments);

} // namespace lv::test
