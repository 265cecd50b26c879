# Warnings everywhere, and float arithmetic that rounds every intermediate to
# its declared type: the classification limits are compared in exactly single
# or double precision, so a 32-bit x87 build must not keep excess precision.
include(CheckCXXCompilerFlag)

if(MSVC)
    add_compile_options(/W4 /utf-8 /fp:precise)
else()
    add_compile_options(-Wall -Wextra -Wpedantic)
    check_cxx_compiler_flag(-fexcess-precision=standard HAVE_EXCESS_PRECISION_STANDARD)
    if(HAVE_EXCESS_PRECISION_STANDARD)
        add_compile_options(-fexcess-precision=standard)
    elseif(CMAKE_SIZEOF_VOID_P EQUAL 4 AND CMAKE_SYSTEM_PROCESSOR MATCHES "86|AMD64|amd64")
        # g++ before 13 lacks the flag for C++; SSE arithmetic rounds alike.
        add_compile_options(-msse2 -mfpmath=sse)
    endif()
endif()
