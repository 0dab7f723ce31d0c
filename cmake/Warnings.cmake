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
