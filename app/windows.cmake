# The Windows side of the program: its resource script (icon and version
# information), deployment of the Qt libraries next to the executable, and
# the NSIS installer. The resource script is configured on every platform so
# that scripts/check-windows can compile it with mingw-w64.

# The version information wants four numbers; missing parts count as 0.
set(version_parts ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR} ${PROJECT_VERSION_PATCH}
    ${PROJECT_VERSION_TWEAK})
set(version_numbers)
foreach(part IN LISTS version_parts)
  if(part STREQUAL "")
    set(part 0)
  endif()
  list(APPEND version_numbers ${part})
endforeach()
list(JOIN version_numbers "," TOLMARIK_VERSION_COMMAS)
list(JOIN version_numbers "." TOLMARIK_VERSION_DOTS)
set(TOLMARIK_ICON ${PROJECT_SOURCE_DIR}/app/TolmarikProg.ico)
configure_file(${PROJECT_SOURCE_DIR}/app/TolmarikProg.rc.in
  ${PROJECT_BINARY_DIR}/app/TolmarikProg.rc @ONLY)

if(NOT WIN32)
  return()
endif()

target_sources(TolmarikProg PRIVATE ${PROJECT_BINARY_DIR}/app/TolmarikProg.rc)
set_target_properties(TolmarikProg PROPERTIES WIN32_EXECUTABLE ON)

# Qt's own libraries and plugins next to the executable, in the build folder
# (so that it runs from there) and in the installed tree.
find_program(WINDEPLOYQT windeployqt HINTS "${Qt6_DIR}/../../../bin")
if(WINDEPLOYQT)
  add_custom_command(TARGET TolmarikProg POST_BUILD
    COMMAND "${WINDEPLOYQT}" --no-translations --no-system-d3d-compiler --no-opengl-sw
            "$<TARGET_FILE:TolmarikProg>"
    COMMENT "Deploying Qt next to TolmarikProg.exe")
else()
  message(WARNING "windeployqt not found: the program will not start outside a Qt shell")
endif()

install(TARGETS TolmarikProg RUNTIME DESTINATION .)
install(CODE "
  execute_process(COMMAND \"${WINDEPLOYQT}\" --no-translations --no-system-d3d-compiler
                          --no-opengl-sw \"\${CMAKE_INSTALL_PREFIX}/TolmarikProg.exe\"
                  RESULT_VARIABLE deployed)
  if(NOT deployed EQUAL 0)
    message(FATAL_ERROR \"windeployqt failed\")
  endif()")
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION .)

set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VENDOR ${TOLMARIK_COMPANY})
set(CPACK_PACKAGE_VERSION ${TOLMARIK_VERSION_DOTS})
set(CPACK_PACKAGE_INSTALL_DIRECTORY ${PROJECT_NAME})
set(CPACK_PACKAGE_EXECUTABLES "TolmarikProg;TolmarikProg")
set(CPACK_NSIS_MUI_ICON ${TOLMARIK_ICON})
set(CPACK_NSIS_MUI_UNIICON ${TOLMARIK_ICON})
set(CPACK_NSIS_INSTALLED_ICON_NAME TolmarikProg.exe)
set(CPACK_NSIS_DISPLAY_NAME ${PROJECT_NAME})
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
include(CPack)
