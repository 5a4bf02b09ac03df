# Delay-loaded imports: `marovin_delay_import(name dll function...)` makes the interface
# library `name`, an import library for `dll` whose functions load the DLL at their first call.
# For system DLLs that only a rare path needs (an error text, the opt-in update download):
# each DLL loaded with the program costs every start its load and its own imports.
function(marovin_delay_import name dll)
  set(def ${CMAKE_CURRENT_BINARY_DIR}/${name}.def)
  set(lib ${CMAKE_CURRENT_BINARY_DIR}/lib${name}.a)
  list(JOIN ARGN "\n" exports)
  file(GENERATE OUTPUT ${def} CONTENT "LIBRARY ${dll}\nEXPORTS\n${exports}\n")
  add_custom_command(OUTPUT ${lib}
    COMMAND ${CMAKE_DLLTOOL} --input-def ${def} --dllname ${dll} --output-delaylib ${lib}
    DEPENDS ${def}
    VERBATIM)
  add_custom_target(${name}_build DEPENDS ${lib})
  add_library(${name} INTERFACE)
  add_dependencies(${name} ${name}_build)
  target_link_libraries(${name} INTERFACE ${lib})
endfunction()
