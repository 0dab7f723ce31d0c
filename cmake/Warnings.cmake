# Every target of the project compiles with these.
add_compile_options(-Wall -Wextra)
if(INTRO_WERROR)
    add_compile_options(-Werror)
endif()
# The engine's arithmetic is fixed to the bit: no fused multiply-adds, no x87 excess precision.
add_compile_options(-ffp-contract=off)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "x86_64|AMD64|i.86")
    add_compile_options(-msse2 -mfpmath=sse)
endif()
# GCC 12 may drop a rounding to float when its basic-block vectoriser packs two conversions into one
# vector (excess precision is "fast" in C++): -O2 then gave other bits than -O0. Keep that pass off.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(-fno-tree-slp-vectorize)
endif()
