# SPDX-License-Identifier: GPL-3.0-or-later
# Sanitized builds: KESTRELON_SANITIZE compiles and links every target with AddressSanitizer and
# UBSan (any finding stops the program); KESTRELON_FUZZ adds the libFuzzer targets of fuzz/.
option(KESTRELON_SANITIZE "Build every target with AddressSanitizer and UndefinedBehaviorSanitizer"
       OFF)
option(KESTRELON_FUZZ "Build the libFuzzer targets in fuzz/ (clang only; sanitizes everything)"
       OFF)

if(KESTRELON_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "KESTRELON_FUZZ needs clang (-DCMAKE_CXX_COMPILER=clang++ "
                        "-DCMAKE_C_COMPILER=clang): libFuzzer is part of clang")
  endif()
  set(KESTRELON_SANITIZE ON)
endif()

if(KESTRELON_SANITIZE)
  set(kestrelon_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all)
  add_compile_options(${kestrelon_sanitizers} -fno-omit-frame-pointer)
  add_link_options(${kestrelon_sanitizers})
endif()
