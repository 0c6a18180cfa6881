# Every text the program shows has its translation in each catalogue of
# translations/: lupdate reads the sources into a copy of the catalogue,
# and any text it marks as new (unfinished), any translation left empty and
# any text no longer in the sources (vanished or obsolete) is named and
# fails the check, so no English text slips into a translated window and
# the catalogue holds no dead texts.
# Run as: cmake -DLUPDATE=<lupdate> -DSOURCE_DIR=<src> -DTS_DIR=<translations>
#         -DWORK_DIR=<scratch folder> -P TranslationsComplete.cmake
file(GLOB catalogues ${TS_DIR}/*.ts)
if(NOT catalogues)
    message(FATAL_ERROR "no catalogues in ${TS_DIR}")
endif()
set(wrong 0)
foreach(catalogue IN LISTS catalogues)
    get_filename_component(name ${catalogue} NAME)
    set(copy ${WORK_DIR}/${name})
    file(MAKE_DIRECTORY ${WORK_DIR})
    file(COPY_FILE ${catalogue} ${copy})
    execute_process(COMMAND ${LUPDATE} -locations none ${SOURCE_DIR} -ts ${copy}
                    RESULT_VARIABLE failed OUTPUT_QUIET ERROR_VARIABLE errors)
    if(failed)
        message(FATAL_ERROR "lupdate failed on ${name}: ${errors}")
    endif()
    file(READ ${copy} text)
    # One list item per line; a semicolon in a text would split it.
    string(REPLACE ";" "," text "${text}")
    string(REPLACE "\n" ";" lines "${text}")
    set(context "")
    set(source "")
    foreach(line IN LISTS lines)
        if(line MATCHES "<name>(.*)</name>")
            set(context "${CMAKE_MATCH_1}")
        elseif(line MATCHES "<source>(.*)")
            string(REPLACE "</source>" "" source "${CMAKE_MATCH_1}")
        elseif(line MATCHES "type=\"(unfinished|vanished|obsolete)\"")
            message(SEND_ERROR "${name}: ${context}: \"${source}\" is ${CMAKE_MATCH_1}")
            math(EXPR wrong "${wrong} + 1")
        elseif(line MATCHES "<translation></translation>|<translation/>|<numerusform></numerusform>|<numerusform/>")
            message(SEND_ERROR "${name}: ${context}: \"${source}\" has an empty translation")
            math(EXPR wrong "${wrong} + 1")
        endif()
    endforeach()
endforeach()
if(wrong GREATER 0)
    message(FATAL_ERROR "${wrong} texts lack a translation or are no longer in the program; "
                        "build update_translations and translate them in translations/")
endif()
