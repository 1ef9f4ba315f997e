# Runs the asset generator into OUTPUT and fails when any file differs from COMMITTED.
file(REMOVE_RECURSE ${OUTPUT})
file(MAKE_DIRECTORY ${OUTPUT})
execute_process(COMMAND ${GENERATOR} ${OUTPUT} --preview ${OUTPUT}/sheet-preview.png RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the asset generator failed (${status})")
endif()
foreach(name sheet.bmp ORB_BGM.wav ORB_GET.wav ORB_PUSH.wav ORB_OPEN.wav ORB_END.wav ORB_PLAN.wav ORB_BREK.wav)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUTPUT}/${name} ${COMMITTED}/${name}
                  RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    message(FATAL_ERROR "assets/${name} differs from what the generator makes: build the target regenerate-assets")
  endif()
endforeach()
