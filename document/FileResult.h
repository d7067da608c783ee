#pragma once

namespace rova {

// The result of every file operation. The numbers are fixed: 2 and 3 are never produced, and a
// reader of results treats them like ReadFailed.
enum class FileResult {
    Ok = 0,
    OutOfMemory = 1,   // a buffer cannot be allocated
    OpenFailed = 4,    // an existing file cannot be opened for reading
    ReadFailed = 5,    // a read failed
    BadFormat = 6,     // fewer bytes than required arrived, or the data is not valid
    CreateFailed = 7,  // a file cannot be created for writing
    WriteFailed = 8,   // a write failed
};

}  // namespace rova
