# zozi_library(<target> [QT] [SUBDIRS <folders...>] DEPS <targets...>)
# One library per source folder: every .cpp file of the folder (not of its
# sub-folders, except those named in SUBDIRS) is part of it. QT marks a library that links Qt; such a
# library is left out of the fuzz build.
function(zozi_library target)
    cmake_parse_arguments(ARG "QT" "" "DEPS;SUBDIRS" ${ARGN})
    if(ARG_QT AND NOT ZOZI_WITH_QT)
        return()
    endif()
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    foreach(sub ${ARG_SUBDIRS})
        file(GLOB sub_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${sub}/*.cpp)
        file(GLOB sub_headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${sub}/*.h)
        list(APPEND sources ${sub_sources})
        list(APPEND headers ${sub_headers})
    endforeach()
    if(NOT sources)
        # A layer not written yet: an interface target, so its users still link.
        add_library(${target} INTERFACE)
        target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR}/src)
        target_link_libraries(${target} INTERFACE ${ARG_DEPS})
        return()
    endif()
    add_library(${target} STATIC ${sources} ${headers})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} PUBLIC ${ARG_DEPS})
    if(ARG_QT)
        target_link_libraries(${target} PUBLIC Qt6::Core Qt6::Gui Qt6::Widgets)
    endif()
endfunction()

# zozi_test(<layer> DEPS <targets...>): one GoogleTest executable per layer
# from tests/<layer>/*.cpp, each case registered with ctest under the label.
function(zozi_test layer)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${layer}/*.cpp)
    if(NOT sources)
        return()
    endif()
    set(exe test_${layer})
    add_executable(${exe} ${sources})
    target_link_libraries(${exe} PRIVATE ${ARG_DEPS} GTest::gtest_main GTest::gmock)
    target_include_directories(${exe} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
    target_compile_definitions(${exe} PRIVATE ZOZI_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    gtest_discover_tests(${exe}
        PROPERTIES LABELS ${layer} ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
        DISCOVERY_TIMEOUT 60)
endfunction()
