# cmake --install: the library, its headers under include/vxplan, a CMake
# package (find_package(vxplan)) and a pkg-config file.
include(CMakePackageConfigHelpers)
find_package(Qt6 REQUIRED COMPONENTS Core)

set(VX_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/vxplan)

# What an application must find to link the installed targets: the Qt
# modules of the public headers, and, for a static library, the ones it
# uses inside too (they end up in the application's link).
set(VX_QT_COMPONENTS Core Gui Widgets)
if(NOT BUILD_SHARED_LIBS)
  list(APPEND VX_QT_COMPONENTS PrintSupport)
endif()
list(JOIN VX_QT_COMPONENTS " " VX_QT_COMPONENTS)
set(VX_QT_MIN_VERSION "${Qt6_VERSION_MAJOR}.${Qt6_VERSION_MINOR}")

install(EXPORT vxplanTargets NAMESPACE vxplan:: DESTINATION ${VX_CMAKE_DIR} COMPONENT devel)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/vxplanConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/vxplanConfig.cmake INSTALL_DESTINATION ${VX_CMAKE_DIR})
# 0.x: a new minor version may break the API.
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/vxplanConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/vxplanConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/vxplanConfigVersion.cmake
  DESTINATION ${VX_CMAKE_DIR} COMPONENT devel)

# pkg-config: paths relative to the file itself, so that the installed tree
# can be moved (or staged with cmake --install --prefix).
set(VX_PC_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
file(RELATIVE_PATH VX_PC_TO_PREFIX /vxprefix/${VX_PC_DIR} /vxprefix)
set(VX_PC_PREFIX "\${pcfiledir}/${VX_PC_TO_PREFIX}")
set(VX_PC_SAN_FLAGS "")
if(VX_SANITIZE)
  list(JOIN VX_SAN_FLAGS " " VX_PC_SAN_FLAGS)
endif()
set(VX_PC_DEFINES "")
if(NOT BUILD_SHARED_LIBS)
  set(VX_PC_DEFINES "-DVXPLAN_STATIC")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/vxplan.pc.in ${CMAKE_CURRENT_BINARY_DIR}/vxplan.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/vxplan.pc DESTINATION ${VX_PC_DIR} COMPONENT devel)
