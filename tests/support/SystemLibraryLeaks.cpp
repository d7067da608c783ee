// Leak-checker suppressions for memory that system libraries keep for the life of the process
// and never free. Linked into test programs that draw text: fontconfig allocates its
// configuration once and drops the last pointer to part of it. The leak checker of sanitizer
// builds asks for this function by name; other builds never call it.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
