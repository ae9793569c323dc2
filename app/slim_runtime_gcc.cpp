// MinGW only. The tool catches no exception: a failure inside the standard
// library (allocation, length) could only end the process. These definitions
// end it at once and keep the exception classes, the COW strings and the
// symbol demangler of GCC's static runtime out of padloom.exe.
#include <cstdlib>

namespace std {

[[noreturn]] void __throw_bad_exception() {
    std::abort();
}
[[noreturn]] void __throw_bad_alloc() {
    std::abort();
}
[[noreturn]] void __throw_bad_array_new_length() {
    std::abort();
}
[[noreturn]] void __throw_bad_cast() {
    std::abort();
}
[[noreturn]] void __throw_bad_typeid() {
    std::abort();
}
[[noreturn]] void __throw_logic_error(const char*) {
    std::abort();
}
[[noreturn]] void __throw_domain_error(const char*) {
    std::abort();
}
[[noreturn]] void __throw_invalid_argument(const char*) {
    std::abort();
}
[[noreturn]] void __throw_length_error(const char*) {
    std::abort();
}
[[noreturn]] void __throw_out_of_range(const char*) {
    std::abort();
}
[[noreturn]] void __throw_out_of_range_fmt(const char*, ...) {
    std::abort();
}
[[noreturn]] void __throw_runtime_error(const char*) {
    std::abort();
}
[[noreturn]] void __throw_range_error(const char*) {
    std::abort();
}
[[noreturn]] void __throw_overflow_error(const char*) {
    std::abort();
}
[[noreturn]] void __throw_underflow_error(const char*) {
    std::abort();
}

}  // namespace std

namespace __gnu_cxx {

void __verbose_terminate_handler() {
    std::abort();
}

}  // namespace __gnu_cxx
