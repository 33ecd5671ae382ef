# Turns one Markdown document of docs/ into a standalone HTML page:
#   cmake -DCMARK=cmark-gfm -DINPUT=docs/manual.md -DOUTPUT=manual.html -P markdown-page.cmake
# Without CMARK the page shows the Markdown text as it is.

file(READ "${INPUT}" text)
string(REGEX MATCH "^# ([^\n]*)" heading "${text}")
set(title "${CMAKE_MATCH_1}")

if(CMARK)
  execute_process(COMMAND "${CMARK}" --extension table --extension autolink --to html "${INPUT}"
                  OUTPUT_VARIABLE body RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${CMARK} could not convert ${INPUT}")
  endif()
  # Links between the documents lead to their HTML pages.
  string(REGEX REPLACE "href=\"([A-Za-z0-9_-]+)\\.md([#\"])" "href=\"\\1.html\\2" body "${body}")
  # Headings get the ids that Markdown viewers give them, so links to sections work.
  string(REGEX MATCHALL "<h[1-6]>[^\n]*</h[1-6]>" headings "${body}")
  foreach(heading IN LISTS headings)
    string(REGEX REPLACE "^<h([1-6])>(.*)</h[1-6]>$" "\\1" level "${heading}")
    string(REGEX REPLACE "^<h[1-6]>(.*)</h[1-6]>$" "\\1" inner "${heading}")
    string(REGEX REPLACE "<[^>]*>" "" slug "${inner}")
    string(TOLOWER "${slug}" slug)
    string(REGEX REPLACE "[^a-z0-9 _-]" "" slug "${slug}")
    string(REPLACE " " "-" slug "${slug}")
    string(REPLACE "${heading}" "<h${level} id=\"${slug}\">${inner}</h${level}>" body "${body}")
  endforeach()
else()
  string(REPLACE "&" "&amp;" body "${text}")
  string(REPLACE "<" "&lt;" body "${body}")
  string(REPLACE ">" "&gt;" body "${body}")
  set(body "<pre>${body}</pre>\n")
endif()

file(WRITE "${OUTPUT}" "<!DOCTYPE html>
<html lang=\"en\">
<head>
<meta charset=\"utf-8\">
<title>${title}</title>
<style>
body { max-width: 52em; margin: 2em auto; padding: 0 1em; font-family: sans-serif; line-height: 1.45; }
table { border-collapse: collapse; margin: 1em 0; }
th, td { border: 1px solid #bbb; padding: 0.2em 0.6em; text-align: left; vertical-align: top; }
code, pre { background: #f3f3f3; }
pre { padding: 0.6em; overflow-x: auto; }
img { max-width: 100%; }
</style>
</head>
<body>
${body}</body>
</html>
")
