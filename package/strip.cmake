# Run by CPack on the staged tree before packing: drops the compilers'
# version notes that stripping keeps, as Debian's own packages do. The test
# install_tree runs it on its installed tree (STRIP_PREFIX), so that the
# tests run the program the package holds.
if(DEFINED STRIP_PREFIX)
    file(GLOB programs "${STRIP_PREFIX}/bin/*")
else()
    file(GLOB_RECURSE programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/bin/*")
endif()
foreach(program IN LISTS programs)
    execute_process(COMMAND strip --remove-section=.comment --remove-section=.note "${program}"
                    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
