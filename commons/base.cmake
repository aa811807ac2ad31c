# The base of commons: what a program or module needs without windows (settings file,
# text decoding, paths and start-up guard, atomic replacement, the database wrapper and
# the interfaces of the platform layer). Qt Core only, position-independent so that
# loadable modules link it too. Included by commons/ and by the fuzzing build.
add_library(comun_base STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Texto.h ${CMAKE_CURRENT_LIST_DIR}/Texto.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Ini.h ${CMAKE_CURRENT_LIST_DIR}/Ini.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Reemplazo.h ${CMAKE_CURRENT_LIST_DIR}/Reemplazo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Entorno.h
  ${CMAKE_CURRENT_LIST_DIR}/Inicio.h ${CMAKE_CURRENT_LIST_DIR}/Inicio.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Plataforma.h ${CMAKE_CURRENT_LIST_DIR}/Plataforma.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BaseDatos.h)
target_include_directories(comun_base PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(comun_base PUBLIC Qt6::Core)
set_target_properties(comun_base PROPERTIES POSITION_INDEPENDENT_CODE ON)
