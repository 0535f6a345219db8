# Warnings are errors for every target of this project.
add_compile_options(-Wall -Wextra -Wpedantic -Werror -Wno-missing-field-initializers)

if(ZR_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# Adds a GoogleTest program; each test case becomes one ctest entry.
# Window tests need no screen: they run on Qt's offscreen platform.
include(GoogleTest)
# POSTGRES: the tests use the tests' PostgreSQL server, which ctest starts before them.
function(zr_add_gtest name)
    cmake_parse_arguments(ARG "POSTGRES" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE zr_testsupport ${ARG_LIBS})
    set(fixtures "")
    if(ARG_POSTGRES)
        set(fixtures postgres)
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
                   TIMEOUT 300
                   FIXTURES_REQUIRED "${fixtures}")
endfunction()
