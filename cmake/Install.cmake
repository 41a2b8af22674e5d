# What `cmake --install` lays out: the three programs in bin/, the calendar module in lib/marquetto (the deck
# finds it relative to itself), the icon font and its glyph map in share/marquetto (the programs look there,
# relative to themselves), and the desktop's files: the entry and its icon, the software-centre description,
# the deck-file type and the companion's manual page.

install(TARGETS marquetto marquetto-deck marquetto-icon-import RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET marquetto-eds)
    # The desktop's calendars, loaded by the deck when it first shows them.
    install(TARGETS marquetto-eds LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/marquetto)
endif()
install(FILES ${MARQUETTO_PHOSPHOR_FONT} ${MARQUETTO_PHOSPHOR_GLYPH_MAP}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/marquetto)

install(FILES resources/${MARQUETTO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/marquetto.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The tray asks for this one by name, so that the panel draws it in its own text colour.
install(FILES resources/marquetto-symbolic.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/symbolic/apps)
configure_file(resources/${MARQUETTO_APP_ID}.metainfo.xml.in ${MARQUETTO_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${MARQUETTO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES resources/marquetto-deck.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)

# Debian wants manual pages compressed with gzip -9n (no name, no time stamp, so the package is reproducible).
find_program(MARQUETTO_GZIP gzip REQUIRED)
set(manual_page ${CMAKE_BINARY_DIR}/man/marquetto-deck.1)
add_custom_command(
    OUTPUT ${manual_page}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/resources/marquetto-deck.1 ${manual_page}
    COMMAND ${MARQUETTO_GZIP} -9nf ${manual_page}
    DEPENDS ${PROJECT_SOURCE_DIR}/resources/marquetto-deck.1
    VERBATIM)
add_custom_target(manual_page ALL DEPENDS ${manual_page}.gz)
install(FILES ${manual_page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The MIME database is rebuilt on a direct install; a package build (DESTDIR set) leaves that to the package's
# triggers. The prefix is read when installing, since `cmake --install --prefix` may differ from the configured one.
install(CODE "set(marquetto_mime_dir \"${CMAKE_INSTALL_DATADIR}/mime\")")
install(CODE [[
    find_program(UPDATE_MIME_DATABASE update-mime-database)
    if(UPDATE_MIME_DATABASE AND "$ENV{DESTDIR}" STREQUAL "")
        execute_process(COMMAND ${UPDATE_MIME_DATABASE} "${CMAKE_INSTALL_PREFIX}/${marquetto_mime_dir}")
    endif()]])
