# Run by CPack on the staged tree before packing: drops the compilers'
# version notes that stripping keeps, as Debian's own packages do.
file(GLOB_RECURSE programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/bin/*")
foreach(program IN LISTS programs)
    execute_process(COMMAND strip --remove-section=.comment --remove-section=.note "${program}"
                    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
