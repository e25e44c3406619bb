#!/bin/bash
# Traces each digest line that differs between Linux and Windows to the C
# library functions that make it differ: runs the native bits_digest with
# the results of one function (then of all eight) taken from Windows' C
# library instead of glibc, for the calls made by the modules and the
# stand-in host, and prints for each differing line the functions whose
# Windows results alone give Windows' bits.  A preloaded library answers
# those calls through a pipe from a small Windows program running under Wine,
# so every argument is the one the Linux run reaches.  Run after
# scripts/test_windows.sh (it needs build/, build-windows/ and the digests
# there); not part of the test command.
set -euo pipefail
cd "$(dirname "$0")/../.."
triple=x86_64-w64-mingw32
out=build-windows
dir=$out/trace
[ -f $out/digest-windows.txt ] && [ -x build/tests/bits_digest ] || {
  echo "tests/cross/trace_libm.sh: run scripts/test_windows.sh first."; exit 1; }
mkdir -p $dir
functions=(exp log pow expm1 log2 cos tan tanh)

cat > $dir/shim.c <<'EOF'
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
static FILE *req, *resp;
static char list[256];
static int ready = -1;
/* A call to NAME from a module or the stand-in host, with NAME listed. */
static int asked(const char* name, void* caller) {
    if (ready < 0) {
        const char* f = getenv("TRACE_FUNCTIONS");
        snprintf(list, sizeof list, ",%s,", f ? f : "");
        req = fopen(getenv("TRACE_REQUESTS"), "w");
        resp = fopen(getenv("TRACE_ANSWERS"), "r");
        if (!req || !resp) abort();
        ready = 1;
    }
    char key[32];
    snprintf(key, sizeof key, ",%s,", name);
    Dl_info info;
    if (!strstr(list, key) || !dladdr(caller, &info) || !info.dli_fname) return 0;
    const char* file = info.dli_fname;
    size_t n = strlen(file);
    return (n > 7 && strcmp(file + n - 7, ".mexa64") == 0) || strstr(file, "libmex") != NULL;
}
static double answer(const char* name, double x, double y) {
    uint64_t bx, by, r;
    double v;
    memcpy(&bx, &x, 8);
    memcpy(&by, &y, 8);
    fprintf(req, "%s %016llx %016llx\n", name, (unsigned long long)bx, (unsigned long long)by);
    fflush(req);
    char line[64];
    if (!fgets(line, sizeof line, resp)) abort();
    r = strtoull(line, NULL, 16);
    memcpy(&v, &r, 8);
    return v;
}
#define ONE(F)                                                                  \
    double F(double x) {                                                        \
        static double (*real)(double);                                          \
        if (!real) real = (double (*)(double))dlsym(RTLD_NEXT, #F);             \
        return asked(#F, __builtin_return_address(0)) ? answer(#F, x, 0) : real(x); \
    }
ONE(exp) ONE(log) ONE(expm1) ONE(log2) ONE(cos) ONE(tan) ONE(tanh)
double pow(double x, double y) {
    static double (*real)(double, double);
    if (!real) real = (double (*)(double, double))dlsym(RTLD_NEXT, "pow");
    return asked("pow", __builtin_return_address(0)) ? answer("pow", x, y) : real(x, y);
}
EOF
cat > $dir/answer.cpp <<'EOF'
// Windows' C library functions, one request a line: NAME XBITS YBITS -> RBITS.
#include <cmath>
#include <cstdio>
#include <cstring>
typedef double (*unary)(double);
typedef double (*binary)(double, double);
static volatile unary fs[] = {std::exp, std::log, std::expm1, std::log2, std::cos, std::tan, std::tanh};
static const char* names[] = {"exp", "log", "expm1", "log2", "cos", "tan", "tanh"};
static volatile binary power = std::pow;
int main() {
    char name[32];
    unsigned long long bx, by, br;
    while (std::scanf("%31s %llx %llx", name, &bx, &by) == 3) {
        double x, y, r = 0;
        std::memcpy(&x, &bx, 8);
        std::memcpy(&y, &by, 8);
        if (!std::strcmp(name, "pow")) r = power(x, y);
        for (int i = 0; i < 7; ++i)
            if (!std::strcmp(name, names[i])) r = fs[i](x);
        std::memcpy(&br, &r, 8);
        std::printf("%016llx\n", br);
        std::fflush(stdout);
    }
    return 0;
}
EOF
gcc -O2 -shared -fPIC $dir/shim.c -o $dir/shim.so -ldl
# The flags of the modules, and their C library: libmingwex's functions and
# msvcrt.dll's, as the modules link them.
$triple-g++-posix -std=c++17 -O2 -fno-fast-math -ffp-contract=off -fno-math-errno -static \
  $dir/answer.cpp -o $dir/answer.exe

export WINEPREFIX=$PWD/$out/wine WINEDEBUG=-all
wine=$(command -v wine || command -v wine-stable)
run() {  # run FUNCTIONS OUTPUT
  rm -f $dir/requests $dir/answers
  mkfifo $dir/requests $dir/answers
  "$wine" $dir/answer.exe < $dir/requests > $dir/answers &
  local server=$!
  TRACE_FUNCTIONS=$1 TRACE_REQUESTS=$dir/requests TRACE_ANSWERS=$dir/answers \
    LD_PRELOAD=$PWD/$dir/shim.so build/tests/bits_digest > "$2"
  wait $server || true
}
for f in "${functions[@]}"; do run $f $dir/digest-$f.txt; done
all=$(IFS=,; echo "${functions[*]}")
run "$all" $dir/digest-all.txt

# Line by line (the same cases in the same order in every file): each line
# that differs, whether Windows' results of all eight functions give its
# Windows bits, and which functions do alone.
files=($out/digest-native.txt $out/digest-windows.txt $dir/digest-all.txt)
for f in "${functions[@]}"; do files+=($dir/digest-$f.txt); done
paste -d '|' "${files[@]}" | awk -F'|' -v names="${functions[*]}" '
  BEGIN { n = split(names, fn, " ") }
  $1 != $2 && $1 !~ /^libm / {
    by = ""
    for (i = 1; i <= n; ++i) if ($(3 + i) == $2) by = by " " fn[i]
    printf "%-44s %s; alone:%s\n", substr($1, 1, 44),
           ($3 == $2 ? "Windows\x27 bits with all eight" : "NOT Windows\x27 bits with all eight"),
           (by == "" ? " none" : by)
  }'
