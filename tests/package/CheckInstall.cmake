# cmake -P: installs VX_BUILD_DIR into VX_WORK_DIR/stage, checks the
# installed headers and pkg-config file, then builds each of VX_EXAMPLES
# (folders under examples/) as an outside project against the staged
# package and runs it with --render. With VX_DESIGNER, an outside program
# loads the installed Designer plugin.
cmake_minimum_required(VERSION 3.22)

set(stage ${VX_WORK_DIR}/stage)
set(consumers ${VX_WORK_DIR}/consumers)
file(REMOVE_RECURSE ${stage} ${consumers})
file(MAKE_DIRECTORY ${consumers})

function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${what} failed (${rc}):\n${out}\n${err}")
  endif()
  set(run_output "${out}" PARENT_SCOPE)
endfunction()

run("cmake --install" ${CMAKE_COMMAND} --install ${VX_BUILD_DIR} --prefix ${stage})

# Headers: the src layout under include/vxplan, no internal ones, and every
# quoted include of an installed header is itself installed.
set(include_root ${stage}/include/vxplan)
foreach(expected gantt/vxGant.h grid/vxGrid.h platform/ui/Graphics.h printing/vxGanttPrinting.h designer/QvxWidgets.h)
  if(NOT EXISTS ${include_root}/${expected})
    message(FATAL_ERROR "not installed: include/vxplan/${expected}")
  endif()
endforeach()
file(GLOB_RECURSE headers RELATIVE ${include_root} ${include_root}/*.h)
list(LENGTH headers header_count)
set(problems "")
foreach(header IN LISTS headers)
  if(header MATCHES "Internal\\.h$")
    string(APPEND problems "internal header installed: ${header}\n")
  endif()
  file(STRINGS ${include_root}/${header} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" included "${line}")
    if(NOT EXISTS ${include_root}/${included})
      string(APPEND problems "${header} includes ${included}, which is not installed\n")
    endif()
  endforeach()
endforeach()
if(problems)
  message(FATAL_ERROR "${problems}")
endif()
message(STATUS "${header_count} headers installed, every include among them")

# pkg-config resolves the package and its Qt requirements from the stage.
find_program(PKG_CONFIG pkg-config REQUIRED)
set(ENV{PKG_CONFIG_PATH} "")
file(GLOB_RECURSE pc_files ${stage}/vxplan.pc)
list(LENGTH pc_files pc_count)
if(NOT pc_count EQUAL 1)
  message(FATAL_ERROR "expected one vxplan.pc under the stage, found: ${pc_files}")
endif()
get_filename_component(pc_dir ${pc_files} DIRECTORY)
set(ENV{PKG_CONFIG_PATH} ${pc_dir})
run("pkg-config" ${PKG_CONFIG} --cflags --libs "vxplan >= 0.1")
# Its first -I and -L lead to the staged headers and library.
string(REGEX MATCH "-I([^ \n]+)" _ "${run_output}")
set(pc_include ${CMAKE_MATCH_1})
string(REGEX MATCH "-L([^ \n]+)" _ "${run_output}")
set(pc_libdir ${CMAKE_MATCH_1})
file(GLOB pc_libs ${pc_libdir}/libvxplan.*)
if(NOT EXISTS ${pc_include}/gantt/vxGant.h OR NOT pc_libs)
  message(FATAL_ERROR "pkg-config's flags do not lead to the staged package: ${run_output}")
endif()
file(REAL_PATH ${pc_include} pc_include)
file(REAL_PATH ${include_root} real_include_root)
if(NOT pc_include STREQUAL real_include_root)
  message(FATAL_ERROR "pkg-config names ${pc_include}, not the stage's ${real_include_root}")
endif()

# The examples, each a project of its own that finds the package only in
# the stage.
foreach(example IN LISTS VX_EXAMPLES)
  set(bin ${consumers}/${example})
  run("configuring ${example}" ${CMAKE_COMMAND} -S ${VX_SOURCE_DIR}/examples/${example} -B ${bin}
      -G ${VX_GENERATOR} -DCMAKE_CXX_COMPILER=${VX_CXX_COMPILER} -DCMAKE_PREFIX_PATH=${stage}
      -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF)
  file(STRINGS ${bin}/CMakeCache.txt found REGEX "^vxplan_DIR:")
  if(NOT found MATCHES "${stage}")
    message(FATAL_ERROR "${example} found vxplan outside the stage: ${found}")
  endif()
  run("building ${example}" ${CMAKE_COMMAND} --build ${bin})
  set(png ${consumers}/${example}.png)
  set(ENV{QT_QPA_PLATFORM} offscreen)
  run("running ${example}" ${bin}/${example} --render ${png})
  file(SIZE ${png} png_size)
  # A blank window compresses to a few hundred bytes.
  if(png_size LESS 4000)
    message(FATAL_ERROR "${example} rendered next to nothing into ${png} (${png_size} bytes)")
  endif()
  message(STATUS "${example}: built against the stage, rendered ${png} (${png_size} bytes)")
endforeach()

if(VX_DESIGNER)
  file(GLOB_RECURSE plugin ${stage}/libvxplandesigner.so)
  if(NOT plugin)
    message(FATAL_ERROR "the Designer plugin is not installed")
  endif()
  set(bin ${consumers}/plugin_check)
  run("configuring plugin_check" ${CMAKE_COMMAND} -S ${CMAKE_CURRENT_LIST_DIR}/plugin_check -B ${bin}
      -G ${VX_GENERATOR} -DCMAKE_CXX_COMPILER=${VX_CXX_COMPILER} -DCMAKE_PREFIX_PATH=${stage}
      -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF)
  run("building plugin_check" ${CMAKE_COMMAND} --build ${bin})
  run("loading the installed plugin" ${bin}/plugin_check ${plugin})
  string(STRIP "${run_output}" run_output)
  string(REPLACE "\n" ", " run_output "${run_output}")
  message(STATUS "installed Designer plugin: ${run_output}")
endif()
