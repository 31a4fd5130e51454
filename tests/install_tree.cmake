# Installs the build into PREFIX, with STRIP=--strip stripped as the package is
# (CPACK_STRIP_FILES and package/strip.cmake; not under the sanitizers, whose
# reports need the symbols), and checks that every installed file is there.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}" ${STRIP}
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()
if(STRIP)
    set(STRIP_PREFIX "${PREFIX}")
    include("${CMAKE_CURRENT_LIST_DIR}/../package/strip.cmake")
endif()
foreach(f bin/corvane
          share/applications/org.corvane.Corvane.desktop
          share/metainfo/org.corvane.Corvane.metainfo.xml
          share/icons/hicolor/scalable/apps/org.corvane.Corvane.svg
          share/icons/hicolor/48x48/apps/org.corvane.Corvane.png
          share/man/man1/corvane.1.gz
          share/doc/${PACKAGE}/copyright)
    if(NOT EXISTS "${PREFIX}/${f}")
        message(FATAL_ERROR "missing after install: ${f}")
    endif()
endforeach()
