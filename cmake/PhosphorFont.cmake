# The icon font the deck draws its glyphs with, from the npm package @phosphor-icons/web (pinned). Configuring
# fetches the package tarball once per machine into the user's cache and checks it against the integrity hash the
# registry publishes for that version; the build copies the font beside the programs and writes the glyph map
# (name -> code point) from the package's selection.json. Nothing fetched is committed; once the tarball is in
# the cache, every build folder configures and builds offline.

set(MARQUETTO_PHOSPHOR_VERSION 2.1.2)
# `npm view @phosphor-icons/web@2.1.2 dist.integrity` (sha512-rPAR9o/bEcp4…), in hex for file(SHA512).
set(MARQUETTO_PHOSPHOR_SHA512
    acf011f68fdb11ca780b0e0311e6475dffa794608c34690d0d18b3607338ecd2f1cfdbef107a7f4ede8530ad4d71669dcf0fe91433e74411a2fe87d1c9af79f0)
set(MARQUETTO_RESOURCES_DIR ${CMAKE_BINARY_DIR}/src/resources)
set(MARQUETTO_PHOSPHOR_FONT ${MARQUETTO_RESOURCES_DIR}/Phosphor-Fill.ttf)
set(MARQUETTO_PHOSPHOR_GLYPH_MAP ${MARQUETTO_RESOURCES_DIR}/PhosphorFill.json)

if(DEFINED ENV{XDG_CACHE_HOME} AND IS_ABSOLUTE "$ENV{XDG_CACHE_HOME}")
    set(phosphor_cache_dir "$ENV{XDG_CACHE_HOME}/marquetto")
elseif(IS_ABSOLUTE "$ENV{HOME}")
    set(phosphor_cache_dir "$ENV{HOME}/.cache/marquetto")
else()
    message(FATAL_ERROR "Neither XDG_CACHE_HOME nor HOME is set: no cache folder for the icon font.")
endif()
set(phosphor_tarball_name phosphor-icons-web-${MARQUETTO_PHOSPHOR_VERSION}.tgz)
set(phosphor_tarball ${phosphor_cache_dir}/${phosphor_tarball_name})

function(marquetto_phosphor_fail why)
    message(FATAL_ERROR "The icon font @phosphor-icons/web@${MARQUETTO_PHOSPHOR_VERSION} cannot be had: ${why}\n"
                        "The build needs npm and node (scripts/bootstrap installs them) and the npm registry once; "
                        "or put the package's tarball (npm pack @phosphor-icons/web@${MARQUETTO_PHOSPHOR_VERSION}) "
                        "at ${phosphor_tarball}. Then configure again.")
endfunction()

function(marquetto_phosphor_verified path result)
    file(SHA512 ${path} actual)
    if(actual STREQUAL MARQUETTO_PHOSPHOR_SHA512)
        set(${result} TRUE PARENT_SCOPE)
    else()
        set(${result} FALSE PARENT_SCOPE)
    endif()
endfunction()

# Packs into a folder of this configure run's own and renames into place, so that two build folders configured
# at the same time never see each other's half-written tarball.
function(marquetto_phosphor_fetch npm)
    string(RANDOM LENGTH 12 run)
    set(staging ${phosphor_cache_dir}/fetch-${run})
    file(MAKE_DIRECTORY ${staging})
    message(STATUS "Fetching @phosphor-icons/web ${MARQUETTO_PHOSPHOR_VERSION} with npm into ${phosphor_cache_dir}")
    execute_process(
        COMMAND ${npm} pack --loglevel=error --pack-destination ${staging} @phosphor-icons/web@${MARQUETTO_PHOSPHOR_VERSION}
        WORKING_DIRECTORY ${staging}
        RESULT_VARIABLE status
        OUTPUT_QUIET
        ERROR_VARIABLE errors
        TIMEOUT 300)
    set(fetched ${staging}/${phosphor_tarball_name})
    if(NOT status EQUAL 0 OR NOT EXISTS ${fetched})
        file(REMOVE_RECURSE ${staging})
        marquetto_phosphor_fail("npm pack failed (${status}): ${errors}")
    endif()
    marquetto_phosphor_verified(${fetched} verified)
    if(NOT verified)
        file(REMOVE_RECURSE ${staging})
        marquetto_phosphor_fail("the tarball npm fetched does not match the pinned sha512 integrity hash.")
    endif()
    file(RENAME ${fetched} ${phosphor_tarball})
    file(REMOVE_RECURSE ${staging})
endfunction()

find_program(MARQUETTO_NPM npm)
find_program(MARQUETTO_NODE node)
if(NOT MARQUETTO_NODE)
    marquetto_phosphor_fail("node is not installed (it writes the glyph map).")
endif()

set(phosphor_verified FALSE)
if(EXISTS ${phosphor_tarball})
    marquetto_phosphor_verified(${phosphor_tarball} phosphor_verified)
    if(NOT phosphor_verified)
        message(STATUS "The cached ${phosphor_tarball_name} does not match its integrity hash; fetching it again")
        file(REMOVE ${phosphor_tarball})
    endif()
endif()
if(NOT phosphor_verified)
    if(NOT MARQUETTO_NPM)
        marquetto_phosphor_fail("npm is not installed and the tarball is not in the cache.")
    endif()
    marquetto_phosphor_fetch(${MARQUETTO_NPM})
endif()

# The two files the build needs, unpacked per build folder; again only when the tarball changed. The package's
# files carry a 1985 date; touching them keeps them from looking older than what depends on them.
set(package_dir ${CMAKE_BINARY_DIR}/_deps/phosphor-icons-web-${MARQUETTO_PHOSPHOR_VERSION})
set(package_font ${package_dir}/package/src/fill/Phosphor-Fill.ttf)
set(package_selection ${package_dir}/package/src/fill/selection.json)
if(${phosphor_tarball} IS_NEWER_THAN ${package_font} OR ${phosphor_tarball} IS_NEWER_THAN ${package_selection})
    file(REMOVE_RECURSE ${package_dir})
    file(ARCHIVE_EXTRACT INPUT ${phosphor_tarball} DESTINATION ${package_dir}
         PATTERNS package/src/fill/Phosphor-Fill.ttf package/src/fill/selection.json)
    file(TOUCH ${package_font} ${package_selection})
endif()
# Unpacked files lost from the build folder make the build configure again rather than fail.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${package_font} ${package_selection})

set(glyph_map_script ${PROJECT_SOURCE_DIR}/scripts/phosphor-glyph-map.mjs)
add_custom_command(
    OUTPUT ${MARQUETTO_PHOSPHOR_FONT} ${MARQUETTO_PHOSPHOR_GLYPH_MAP}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${MARQUETTO_RESOURCES_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy ${package_font} ${MARQUETTO_PHOSPHOR_FONT}
    COMMAND ${MARQUETTO_NODE} ${glyph_map_script} ${package_selection} ${MARQUETTO_PHOSPHOR_GLYPH_MAP}
    COMMAND ${CMAKE_COMMAND} -E touch ${MARQUETTO_PHOSPHOR_FONT} ${MARQUETTO_PHOSPHOR_GLYPH_MAP}
    DEPENDS ${package_font} ${package_selection} ${glyph_map_script}
    COMMENT "Writing the icon font and its glyph map"
    VERBATIM)
add_custom_target(phosphor_font ALL DEPENDS ${MARQUETTO_PHOSPHOR_FONT} ${MARQUETTO_PHOSPHOR_GLYPH_MAP})
