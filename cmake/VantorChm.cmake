# vantor_chm(TARGET OUTPUT PROJECT_DIR HHP): compiles the HTML help project PROJECT_DIR/HHP with
# chmcmd into OUTPUT. chmcmd writes beside its project, so the project is compiled in a copy.
find_program(CHMCMD chmcmd REQUIRED)
function(vantor_chm target output project_dir hhp)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${project_dir}/*)
    set(work ${CMAKE_CURRENT_BINARY_DIR}/${target}-project)
    get_filename_component(compiled ${hhp} NAME_WE)
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E rm -rf ${work}
        COMMAND ${CMAKE_COMMAND} -E copy_directory ${project_dir} ${work}
        COMMAND ${CMAKE_COMMAND} -E chdir ${work} ${CHMCMD} ${hhp}
        COMMAND ${CMAKE_COMMAND} -E copy ${work}/${compiled}.chm ${output}
        DEPENDS ${sources}
        COMMENT "Compiling ${output}"
        VERBATIM)
    add_custom_target(${target} ALL DEPENDS ${output})
endfunction()
