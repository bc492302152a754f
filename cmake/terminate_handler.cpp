// GCC's default terminate handler prints the exception's demangled type to stderr, which a GUI
// program has not got, and so drags the demangler and stdio (about 70 KB) into every statically
// linked program. Nothing of ours throws; a terminate simply ends the process as abort does.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
