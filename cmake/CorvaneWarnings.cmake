# Our own code builds without warnings. CI makes them errors (CORVANE_WERROR=ON); a user's
# build does not, so that a newer compiler's new warning never stops it.
option(CORVANE_WERROR "Treat compiler warnings in Corvane's own code as errors" OFF)

function(corvane_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
        -Wnon-virtual-dtor -Wcast-align -Woverloaded-virtual -Wimplicit-fallthrough)
    if(CORVANE_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        # GCC 12 reports std::string copies as overlapping at -O2/-O3 (GCC bug 105329).
        target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
endfunction()

# A library made of every source file in one folder of src/.
function(corvane_library name folder)
    file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp")
    if(NOT sources) # a layer not yet written still links
        set(sources "${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp")
        file(WRITE "${sources}" "namespace corvane {}\n")
    endif()
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
    corvane_warnings(${name})
endfunction()

# A program of the project: its warnings, and the allocator the build chose (see CMakeLists.txt).
# USES_QT: the program links Qt. On Windows, Qt's DLLs allocate with the C runtime's heap, and
# what they allocate is now and then freed by inline code in the program: its new and delete
# there must stay the C runtime's too (mimalloc would be handed memory it never gave out).
function(corvane_program target)
    corvane_warnings(${target})
    if(WIN32 AND "USES_QT" IN_LIST ARGN)
        return()
    endif()
    if(CORVANE_ALLOCATOR)
        target_link_libraries(${target} PRIVATE ${CORVANE_ALLOCATOR})
        target_compile_definitions(${target} PRIVATE CORVANE_WITH_MIMALLOC=1)
        if(WIN32)
            target_compile_definitions(${target} PRIVATE CORVANE_MIMALLOC_NEW_DELETE=1)
        endif()
    endif()
endfunction()
