# Runs the same kubrell-cli commands with two builds and compares every file,
# message and exit status they produce, byte for byte:
#   cmake -DCLI=... -DREF_CLI=... -DSAMPLES=... -DREF_SAMPLES=... \
#         -DFIGURE=figure.kbrl -DDATA=tests/data -DWORK=folder -P CompareBuilds.cmake
# CLI and SAMPLES (make_samples) belong to the build under test, REF_* to the
# reference build. Both builds' commands get the same inputs: the documents
# the reference's make_samples writes, the sample figure and every document
# in DATA. The two make_samples outputs are compared as well.

foreach(var CLI REF_CLI SAMPLES REF_SAMPLES FIGURE DATA WORK)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "CompareBuilds.cmake needs -D${var}=...")
  endif()
endforeach()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/inputs ${WORK}/ref ${WORK}/test)

# Runs one command in folder side and records its exit status, standard output
# and standard error as files there, so that they are compared too. Paths
# given relative to the folder make the messages the same for both sides.
function(run side name)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${WORK}/${side}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  file(WRITE ${WORK}/${side}/${name}.status "${status}\n")
  file(WRITE ${WORK}/${side}/${name}.stdout "${out}")
  file(WRITE ${WORK}/${side}/${name}.stderr "${err}")
endfunction()

run(ref samples ${REF_SAMPLES} samples)
run(test samples ${SAMPLES} samples)
file(COPY ${WORK}/ref/samples/ DESTINATION ${WORK}/inputs/samples)
file(COPY ${FIGURE} DESTINATION ${WORK}/inputs/samples)
file(GLOB samples ${WORK}/inputs/samples/*.kbrl)
file(GLOB_RECURSE documents RELATIVE ${DATA} ${DATA}/*)
list(LENGTH samples sampleCount)
list(LENGTH documents documentCount)
if(sampleCount LESS 7 OR documentCount EQUAL 0)
  message(FATAL_ERROR "too few inputs: ${sampleCount} samples, ${documentCount} documents in ${DATA}")
endif()

foreach(side ref test)
  if(side STREQUAL "ref")
    set(cli ${REF_CLI})
  else()
    set(cli ${CLI})
  endif()
  file(MAKE_DIRECTORY ${WORK}/${side}/convert ${WORK}/${side}/generate)
  run(${side} new ${cli} new new.kbrl)
  foreach(document ${documents})
    string(REPLACE "/" "_" flat ${document})
    run(${side} convert_${flat} ${cli} convert ${DATA}/${document} convert/${flat})
  endforeach()
  foreach(sample ${samples})
    get_filename_component(stem ${sample} NAME_WE)
    run(${side} generate_${stem} ${cli} generate ${sample} generate/${stem}.pmd)
  endforeach()
endforeach()

# Same set of files on both sides, each the same bytes.
file(GLOB_RECURSE refFiles RELATIVE ${WORK}/ref ${WORK}/ref/*)
file(GLOB_RECURSE testFiles RELATIVE ${WORK}/test ${WORK}/test/*)
list(SORT refFiles)
list(SORT testFiles)
set(differences "")
if(NOT refFiles STREQUAL testFiles)
  string(APPEND differences "  the builds wrote different sets of files:\n    ${refFiles}\n    ${testFiles}\n")
endif()
set(models 0)
foreach(f ${refFiles})
  if(f MATCHES "\\.pmd$")
    math(EXPR models "${models} + 1")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/ref/${f} ${WORK}/test/${f}
    RESULT_VARIABLE different OUTPUT_QUIET ERROR_QUIET)
  if(different)
    string(APPEND differences "  ${f}\n")
  endif()
endforeach()
if(models LESS sampleCount)
  string(APPEND differences "  only ${models} of ${sampleCount} models were generated (see ${WORK}/ref/*.stderr)\n")
endif()
if(differences)
  message(FATAL_ERROR "The builds' output differs (kept in ${WORK}):\n${differences}")
endif()
list(LENGTH refFiles fileCount)
message(STATUS "${fileCount} files the same byte for byte: ${sampleCount} models with textures, "
               "${documentCount} converted documents, a new document, make_samples' documents")
