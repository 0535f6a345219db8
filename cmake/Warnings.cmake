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
function(zr_add_gtest name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE zr_testsupport ${ARG_LIBS})
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
                   TIMEOUT 300)
endfunction()
