# Rewrites the keywords of doxygen's Qt help project so that Qt Creator's
# context help (F1) finds them: doxygen 1.9 appends "_" and the member's
# anchor to each identifier ("zuvexal::ZuVexal_",
# "zuvexal::ZuVexal::AboutBox_a51de..."), while Creator looks up the plain
# name. Overloads then share an identifier; help keeps the first one's link,
# on the same page as the others.
#   cmake -DQHP=index.qhp -P qhp-identifiers.cmake
file(READ ${QHP} project)
string(REGEX REPLACE " id=\"([^\"]*)_(a[0-9a-f]+)?\"" " id=\"\\1\"" project "${project}")
file(WRITE ${QHP} "${project}")
