# Installs the build into a temporary DESTDIR and checks the tree: exactly the
# program, its pictures, its help pages and the desktop integration files,
# with metadata the freedesktop and AppStream validators accept, and a program
# that tells its version without a display.
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
    share/icons/hicolor/scalable/apps/${APP_ID}.svg)
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

# The desktop entry starts the installed program by name and shows the icon.
file(STRINGS ${top}/share/applications/${APP_ID}.desktop entry)
foreach(line "Exec=ferrovane" "Icon=${APP_ID}" "Type=Application")
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
file(REMOVE_RECURSE ${root})
