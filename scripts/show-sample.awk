# Shows what the sample conversion did: the format as a table and the source
# lines beside the destination lines, under a ruler of byte positions.
#
# Usage: LC_ALL=C awk -f show-sample.awk FORMAT.qfd SOURCE DESTINATION
#
# Everything is read and printed in Shift-JIS, where a character's bytes are
# also its width on the screen (half-width katakana one, kanji two), so byte
# counts pad the columns and the ruler lines up with the text; the caller
# converts the output for the terminal. The environment variables MARK_*
# hold the format file's marker names in Shift-JIS.

function chomp(line) {
    sub(/\r$/, "", line)
    return line
}

# The six values of a format file record, without their quotes and with a
# double quote and a comma restored from their escapes.
function values(line, out, n, i) {
    line = chomp(line)
    sub(/^"/, "", line)
    sub(/"$/, "", line)
    n = split(line, out, "\",\"")
    for (i = 1; i <= n; i++) {
        gsub(/\$34\$/, "\"", out[i])
        gsub(/\$44\$/, ",", out[i])
    }
    return n
}

function pad(text, width) {
    return sprintf("%-" width "s", text)
}

function repeat(text, count, out) {
    out = ""
    while (count-- > 0)
        out = out text
    return out
}

function readFormat(v, n, i) {
    if (values($0, v) < 2)
        return
    if (v[1] ~ /^\[!/) {
        if (v[1] == ENVIRON["MARK_EXCLUDE"]) {
            excludeFrom = v[2] + 0
            excludeTo = v[3] + 0
        } else if (v[1] == ENVIRON["MARK_NAMES"]) {
            namesOnTop = v[2] == ENVIRON["MARK_YES"]
        } else if (v[1] == ENVIRON["MARK_HEADER"] && v[2] != "") {
            headerLines++
        }
        if ((v[2] != "" || v[3] != "") && !(v[2] == "0" && v[3] == "0"))
            settings[++settingCount] = pad(v[1], 30) " " v[2] (v[3] != "" ? " - " v[3] : "")
        return
    }
    n = ++fieldCount
    mark[n] = substr("ABCDEFGHIJKLMNOPQRSTUVWXYZ", n, 1)
    for (i = 1; i <= 6; i++)
        field[n, i] = v[i]
}

function printFormat(n, i) {
    print "  mark  " pad("field", 12) pad("start", 7) pad("length", 8) pad("type", 6) \
          pad("fixed value", 14) "remarks"
    for (n = 1; n <= fieldCount; n++)
        print "  " pad(mark[n], 6) pad(field[n, 1], 12) sprintf("%5s  %6s  ", field[n, 2],
              field[n, 3]) pad(field[n, 4], 6) pad(field[n, 5], 14) field[n, 6]
    print ""
    print "  Settings (those not used left out):"
    for (i = 1; i <= settingCount; i++)
        print "    " settings[i]
}

# The mark of each field under the bytes it cuts from a line.
function markLine(width, line, n, p, start, length_) {
    line = repeat(" ", width)
    for (n = 1; n <= fieldCount; n++) {
        start = field[n, 2] + 0
        length_ = field[n, 3] + 0
        for (p = start; p < start + length_ && p <= width; p++)
            if (p >= 1)
                line = substr(line, 1, p - 1) mark[n] substr(line, p + 1)
    }
    return line
}

function printSideBySide(width, tens, units, p, out, row, left, i) {
    for (p = 1; p <= width; p++) {
        tens = tens (p % 10 == 0 ? int(p / 10) % 10 : " ")
        units = units (p % 10)
    }
    print "  " pad("", 9) tens
    print "  " pad("byte", 9) units
    print "  " pad("field", 9) markLine(width)
    print "  " pad("", 9) repeat("-", width) "   " "destination line"
    out = 0
    # The header lines and the field-name line come before the records.
    for (row = 1; row <= headerLines + (namesOnTop ? 1 : 0) && out < outputCount; row++)
        print "  " pad("", 9 + width) "   " output[++out]
    for (i = 1; i <= sourceCount; i++) {
        left = "  " pad("line " i, 9) pad(source[i], width) "   "
        if (excludeFrom > 0 && i >= excludeFrom && i <= excludeTo)
            print left "(left out: lines " excludeFrom "-" excludeTo " are excluded)"
        else
            print left (out < outputCount ? output[++out] : "")
    }
    # The footer lines.
    while (out < outputCount)
        print "  " pad("", 9 + width) "   " output[++out]
}

FILENAME == ARGV[1] { readFormat(); next }
FILENAME == ARGV[2] {
    source[++sourceCount] = chomp($0)
    if (length(source[sourceCount]) > sourceWidth)
        sourceWidth = length(source[sourceCount])
    next
}
FILENAME == ARGV[3] { output[++outputCount] = chomp($0); next }

END {
    print "== The format " ARGV[1] " (start and length count Shift-JIS bytes)"
    print ""
    printFormat()
    print ""
    print "== The source " ARGV[2] " beside the destination " ARGV[3]
    print "   (a half-width kana is one byte, a kanji two: the ruler counts bytes)"
    print ""
    printSideBySide(sourceWidth)
}
