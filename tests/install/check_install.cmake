# Installs the build into a temporary DESTDIR and checks the tree: exactly the
# program, its pictures, its help pages, the desktop integration files and the
# copyright file with the changelog, with metadata the freedesktop and
# AppStream validators accept, and a program that tells its version without a
# display and, started once, writes nothing beside itself.
#   -DBUILD_DIR= -DSOURCE_DIR= -DPREFIX= -DVERSION= -DAPP_ID=

cmake_minimum_required(VERSION 3.25)

set(root ${BUILD_DIR}/install-test)
file(REMOVE_RECURSE ${root})
execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${root}
                        ${CMAKE_COMMAND} --install ${BUILD_DIR}
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()
set(top ${root}${PREFIX})

# Every picture and every help page of the source tree, the two folders side
# by side (the pages name the pictures ../pictures/NAME.svg), and nothing but
# what is listed here.
set(expected
    bin/ferrovane
    share/applications/${APP_ID}.desktop
    share/metainfo/${APP_ID}.metainfo.xml
    share/mime/packages/${APP_ID}.xml
    share/icons/hicolor/scalable/apps/${APP_ID}.svg
    share/doc/ferrovane/copyright
    share/doc/ferrovane/changelog.Debian.gz)
foreach(folder IN ITEMS "assets/pictures=pictures" "help=help")
    string(REPLACE "=" ";" folder "${folder}")
    list(GET folder 0 from)
    list(GET folder 1 to)
    file(GLOB files RELATIVE ${SOURCE_DIR}/${from} ${SOURCE_DIR}/${from}/*)
    if(NOT files)
        message(FATAL_ERROR "nothing in ${SOURCE_DIR}/${from}")
    endif()
    foreach(f IN LISTS files)
        list(APPEND expected share/ferrovane/${to}/${f})
    endforeach()
endforeach()
file(GLOB_RECURSE installed RELATIVE ${top} ${top}/*)
list(SORT expected)
list(SORT installed)
if(NOT installed STREQUAL expected)
    set(missing ${expected})
    list(REMOVE_ITEM missing ${installed})
    set(extra ${installed})
    list(REMOVE_ITEM extra ${expected})
    message(FATAL_ERROR "install tree differs\n missing: ${missing}\n unexpected: ${extra}")
endif()

execute_process(COMMAND ${top}/bin/ferrovane --version
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "Ferrovane ${VERSION}\n")
    message(FATAL_ERROR "ferrovane --version: exit ${rc}, printed '${out}' ${err}")
endif()

# Started once, the installed program keeps its data files in the user's
# folder, though it could write beside itself.
execute_process(COMMAND ${SOURCE_DIR}/packaging/check-first-start.sh ${top}/bin
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the first start of the installed program: ${out}")
endif()

# The desktop entry starts the installed program by name, with the design
# file it is asked to open, and shows the icon.
file(STRINGS ${top}/share/applications/${APP_ID}.desktop entry)
foreach(line "Exec=ferrovane %f" "Icon=${APP_ID}" "Type=Application"
             "MimeType=application/x-ferrovane-design;")
    if(NOT line IN_LIST entry)
        message(FATAL_ERROR "the desktop entry lacks '${line}'")
    endif()
endforeach()
file(READ ${top}/share/metainfo/${APP_ID}.metainfo.xml metainfo)
foreach(part "<id>${APP_ID}</id>" "<release version=\"${VERSION}\""
             "<launchable type=\"desktop-id\">${APP_ID}.desktop</launchable>"
             "<screenshot type=\"default\">"
             "<url type=\"help\">https://github.com/ferrovane/ferrovane/blob/main/help/index.html</url>")
    string(FIND "${metainfo}" "${part}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the metainfo lacks ${part}")
    endif()
endforeach()

foreach(tool desktop-file-validate appstreamcli)
    find_program(${tool}_path ${tool})
    if(NOT ${tool}_path)
        message(FATAL_ERROR "${tool} is missing: ./dev test installs it")
    endif()
endforeach()
execute_process(COMMAND ${desktop-file-validate_path} ${top}/share/applications/${APP_ID}.desktop
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0 OR out)
    message(FATAL_ERROR "desktop-file-validate: ${out}")
endif()
execute_process(COMMAND ${appstreamcli_path} validate --no-net --no-color
                        ${top}/share/metainfo/${APP_ID}.metainfo.xml
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "appstreamcli validate: ${out}")
endif()
# The design files' type: update-mime-database accepts it in a database of
# its own, with the glob and the magic words; and a design the installed
# program saves begins with those words.
find_program(update-mime-database_path update-mime-database)
if(NOT update-mime-database_path)
    message(FATAL_ERROR "update-mime-database is missing: ./dev test installs it")
endif()
# (It says nothing when all is well and the folder is one it searches.)
set(mime ${root}/mime-check/mime)
file(COPY ${top}/share/mime/packages/${APP_ID}.xml DESTINATION ${mime}/packages)
execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_DATA_DIRS=${root}/mime-check
                        ${update-mime-database_path} ${mime}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0 OR out OR NOT EXISTS ${mime}/application/x-ferrovane-design.xml)
    message(FATAL_ERROR "update-mime-database: exit ${rc}: ${out}")
endif()
file(READ ${mime}/globs2 globs)
file(READ ${mime}/magic magic)
string(FIND "${globs}" "application/x-ferrovane-design:*.fvd" at_glob)
string(FIND "${magic}" "Ferrovane design" at_magic)
if(at_glob EQUAL -1 OR at_magic EQUAL -1)
    message(FATAL_ERROR "the MIME database lacks the glob or the magic:\n${globs}")
endif()
execute_process(COMMAND ${top}/bin/ferrovane calc l-network --example
                        --save-design ${root}/check.fvd
                RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
# Its first line, "Ferrovane design 1" and CR LF, byte for byte.
file(READ ${root}/check.fvd saved LIMIT 20 HEX)
if(NOT rc EQUAL 0 OR NOT saved STREQUAL "466572726f76616e652064657369676e20310d0a")
    message(FATAL_ERROR "ferrovane calc --save-design: exit ${rc}, wrote '${saved}' ${err}")
endif()
file(REMOVE_RECURSE ${root})
