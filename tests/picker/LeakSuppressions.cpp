// fontconfig keeps caches of its own for the life of the process, which the leak checker of
// the sanitizer build reports when the caption label loads a font. Everything else, the
// gradients the bars release above all, stays checked.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
