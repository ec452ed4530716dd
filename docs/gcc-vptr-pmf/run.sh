#!/bin/sh
# Builds repro.cpp four ways and prints each exit code. GCC 12 with
# -fsanitize=vptr miscompiles the lambda: ASan reports a stack-buffer-underflow
# (vptr check on) or the program crashes (vptr check alone); GCC without the
# vptr check and clang with every sanitizer run it cleanly.
cd "$(dirname "$0")"
out=$(mktemp -d)
F="-std=c++20 -g -O0 -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
export ASAN_OPTIONS=detect_leaks=0
g++ $F repro.cpp -o "$out/gcc" && "$out/gcc"; echo "gcc asan+ubsan: rc=$?"
g++ $F -fno-sanitize=vptr repro.cpp -o "$out/novptr" && "$out/novptr"; echo "gcc asan+ubsan -fno-sanitize=vptr: rc=$?"
clang++ $F repro.cpp -o "$out/clang" && "$out/clang"; echo "clang asan+ubsan: rc=$?"
g++ -std=c++20 -g -O0 -fsanitize=vptr repro.cpp -o "$out/vptr" && "$out/vptr"; echo "gcc -fsanitize=vptr alone: rc=$?"
rm -rf "$out"
