# The headers' comments are written as plain // comments; for the reference
# they are read as documentation: a comment line before a declaration
# documents it, one after a member on its line documents that member.
# Section rulers ("// --- time items") and commented-out lines stay plain.
/^[[:space:]]*\/\/ ?-{3}/b
/^[[:space:]]*\/\/\//b
s,^([[:space:]]*)// ?(.*)$,\1/// \2,
t
s,^(.*;)[[:space:]]*// (.*)$,\1 ///< \2,
