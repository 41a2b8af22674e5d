# The icon font the deck draws its glyphs with. The build fetches it with npm (pinned), copies the font beside the
# programs and writes the glyph map (name -> code point) from the package's selection.json. Nothing fetched is
# committed; once the files exist, a rebuild works offline.

set(MARQUETTO_PHOSPHOR_VERSION 2.1.2)
set(MARQUETTO_RESOURCES_DIR ${CMAKE_BINARY_DIR}/src/resources)
set(MARQUETTO_PHOSPHOR_FONT ${MARQUETTO_RESOURCES_DIR}/Phosphor-Fill.ttf)
set(MARQUETTO_PHOSPHOR_GLYPH_MAP ${MARQUETTO_RESOURCES_DIR}/PhosphorFill.json)

find_program(MARQUETTO_NPM npm)
find_program(MARQUETTO_NODE node)

if(MARQUETTO_NPM AND MARQUETTO_NODE)
    set(package_dir ${CMAKE_BINARY_DIR}/_deps/phosphor-icons-web-${MARQUETTO_PHOSPHOR_VERSION})
    set(package_tarball ${package_dir}/phosphor-icons-web-${MARQUETTO_PHOSPHOR_VERSION}.tgz)
    set(package_font ${package_dir}/package/src/fill/Phosphor-Fill.ttf)
    set(package_selection ${package_dir}/package/src/fill/selection.json)
    set(glyph_map_script ${PROJECT_SOURCE_DIR}/scripts/phosphor-glyph-map.mjs)
    file(MAKE_DIRECTORY ${package_dir})

    # No inputs: runs only while the unpacked files are missing. The package's files carry a 1985 date; touching
    # them keeps them from looking older than what depends on them.
    add_custom_command(
        OUTPUT ${package_font} ${package_selection}
        COMMAND ${MARQUETTO_NPM} pack --silent --pack-destination ${package_dir}
                @phosphor-icons/web@${MARQUETTO_PHOSPHOR_VERSION}
        COMMAND ${CMAKE_COMMAND} -E tar xzf ${package_tarball}
        COMMAND ${CMAKE_COMMAND} -E touch ${package_font} ${package_selection}
        WORKING_DIRECTORY ${package_dir}
        COMMENT "Fetching @phosphor-icons/web ${MARQUETTO_PHOSPHOR_VERSION} with npm"
        VERBATIM)

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
else()
    message(WARNING "npm or node not found: the icon font is not built and every glyph will show \"?\". "
                    "Install Node.js and npm (scripts/bootstrap) and configure again.")
    add_custom_target(phosphor_font
        COMMAND ${CMAKE_COMMAND} -E echo "The icon font needs npm and node; install them and configure again."
        COMMAND ${CMAKE_COMMAND} -E false
        VERBATIM)
endif()
