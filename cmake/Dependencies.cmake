# Every dependency is a Debian 12 package (scripts/setup installs them).
find_package(Qt6 REQUIRED COMPONENTS Widgets)
find_package(CURL REQUIRED)
find_package(OpenSSL REQUIRED)
find_package(Threads REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(PCRE2 REQUIRED IMPORTED_TARGET libpcre2-16)
pkg_check_modules(DUKTAPE REQUIRED IMPORTED_TARGET duktape)
pkg_check_modules(ICU REQUIRED IMPORTED_TARGET icu-uc)
pkg_check_modules(PNG REQUIRED IMPORTED_TARGET libpng16)
find_path(HTTPLIB_INCLUDE_DIR httplib.h REQUIRED)
# Debian ships cpp-httplib as a compiled library, not header-only.
pkg_check_modules(HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
find_package(nlohmann_json 3.11 REQUIRED)
