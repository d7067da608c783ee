#pragma once

namespace rova {

// The tool's exit statuses.
enum CliStatus : int {
    kSucceeded = 0,
    kFailed = 1,      // an input could not be read or an output not written
    kUsageError = 2,  // the words on the command line make no sense to the tool
};

}  // namespace rova
