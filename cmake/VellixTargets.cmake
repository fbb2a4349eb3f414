# Shared settings for every target, and the one helper that makes a layer library.

add_library(vellix_options INTERFACE)
add_library(Vellix::Options ALIAS vellix_options)
target_compile_features(vellix_options INTERFACE cxx_std_20)
target_compile_definitions(vellix_options INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_KEYWORDS QT_NO_FOREACH)
target_compile_options(vellix_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
  -Wcast-align -Woverloaded-virtual -Wimplicit-fallthrough
  -Wformat=2 -Wmissing-declarations)
# gcc 12's optimiser reports null dereferences and overlapping copies inside libstdc++
# itself at -O2 and above; clang's versions of these checks are precise.
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  target_compile_options(vellix_options INTERFACE -Wnull-dereference)
endif()
if(VELLIX_WERROR)
  target_compile_options(vellix_options INTERFACE -Werror)
endif()
if(VELLIX_SANITIZE)
  target_compile_options(vellix_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(vellix_options INTERFACE -fsanitize=address,undefined)
endif()

# vellix_add_layer(<folder> <Alias> [WIDGETS] [DEPS <targets>...])
# Builds every .cpp of src/<folder> into a static library vellix_<folder> with alias
# Vellix::<Alias>. A folder's windows/ subfolder, when present, becomes a second library
# vellix_<folder>_windows (alias Vellix::<Alias>Windows): the only kind that links Qt Widgets.
function(vellix_add_layer folder alias)
  cmake_parse_arguments(ARG "" "" "DEPS;WINDOW_DEPS" ${ARGN})
  set(dir ${CMAKE_CURRENT_SOURCE_DIR}/${folder})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  set(target vellix_${folder})
  add_library(${target} STATIC ${sources})
  add_library(Vellix::${alias} ALIAS ${target})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${target} PUBLIC Vellix::Options Qt6::Core ${ARG_DEPS})

  if(EXISTS ${dir}/windows)
    file(GLOB wsources CONFIGURE_DEPENDS ${dir}/windows/*.cpp ${dir}/windows/*.h)
    set(wtarget vellix_${folder}_windows)
    add_library(${wtarget} STATIC ${wsources})
    add_library(Vellix::${alias}Windows ALIAS ${wtarget})
    target_link_libraries(${wtarget} PUBLIC ${target} Qt6::Widgets ${ARG_WINDOW_DEPS})
  endif()
endfunction()
