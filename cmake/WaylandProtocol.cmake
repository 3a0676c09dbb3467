# wayland_client_protocol(TARGET XML): wayland-scanner makes the client header
# (<name>-client.h, on TARGET's include path) and the interface code of the
# protocol described in XML, and TARGET builds with them.
function(wayland_client_protocol target xml)
  find_program(WAYLAND_SCANNER wayland-scanner REQUIRED)
  get_filename_component(name ${xml} NAME_WE)
  set(header ${CMAKE_CURRENT_BINARY_DIR}/${name}-client.h)
  set(code ${CMAKE_CURRENT_BINARY_DIR}/${name}-protocol.c)
  add_custom_command(OUTPUT ${header} COMMAND ${WAYLAND_SCANNER} client-header ${xml} ${header} DEPENDS ${xml})
  add_custom_command(OUTPUT ${code} COMMAND ${WAYLAND_SCANNER} private-code ${xml} ${code} DEPENDS ${xml})
  target_sources(${target} PRIVATE ${header} ${code})
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR})
endfunction()
