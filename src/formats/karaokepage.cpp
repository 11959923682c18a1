#include "formats/karaokepage.h"

#include "base/paths.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

QString htmlEscaped(const QString &text)
{
    // Most words need nothing: hand back the same text without a copy.
    const auto special = [](QChar c) { return c == u'&' || c == u'<' || c == u'>' || c == u'"'; };
    if (std::none_of(text.cbegin(), text.cend(), special))
        return text;
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&': out += u"&amp;"; break;
        case u'<': out += u"&lt;"; break;
        case u'>': out += u"&gt;"; break;
        case u'"': out += u"&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

QString urlEscaped(const QString &name)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    const QByteArray utf8 = name.toUtf8();
    QString out;
    out.reserve(utf8.size());
    for (const char byte : utf8) {
        const auto b = static_cast<unsigned char>(byte);
        if (b == ' ' || b == '#' || b == '%' || b == '?' || b >= 0x80) {
            out += u'%';
            out += QChar(hex[b >> 4]);
            out += QChar(hex[b & 0x0F]);
        } else {
            out += QChar(b);
        }
    }
    return out;
}

QStringList karaokeHead(const QString &title, const KaraokeStyle &style)
{
    QStringList l;
    l.reserve(77);
    l << u"<!doctype html>"_s
      << u"<html lang=\""_s + htmlEscaped(style.language) + u"\">"_s
      << u"  <head>"_s
      << u"    <meta charset=\"utf-8\">"_s
      << u"    <title>"_s + htmlEscaped(title) + u"</title>"_s
      << u"    <script src=\"https://"_s + QLatin1StringView(jQueryHost)
             + u"/ajax/libs/jquery/1.11.2/jquery.min.js\"></script>"_s
      << u"    <script>"_s
      << u"    function setTime($time) {"_s
      << u"        player = document.getElementById(\"audioPlayer\")"_s
      << u"                   player.currentTime=$time;"_s
      << u"                   player.play()"_s
      << u"    }"_s
      << QString()
      << u"    function setToArray(set) {"_s
      << u"      var it = set.values(),"_s
      << u"          ar = [],"_s
      << u"          val;"_s
      << QString()
      << u"      while(val = it.next().value) {"_s
      << u"        ar.push(val);"_s
      << u"      }"_s
      << QString()
      << u"      return ar;"_s
      << u"    }"_s
      << QString()
      << u"    $(function(){"_s
      << u"       var elementD = document.getElementById(\"displayTimer\")"_s
      << u"        var progressBar = document.getElementById(\"progress\")"_s
      << u"        var index"_s
      << u"        $(\"#audioPlayer\").on(\"timeupdate\", function(event){"_s
      << u"          index = parseFloat(this.currentTime)"_s
      << u"          elementD.innerHTML = index.toFixed(1)"_s
      << u"          $( \".player\").css({\"background-color\": \"white\", \"text-decoration\":\"none\"})"_s
      << u"          $( \".player\" )"_s
      << u"                .filter(function() {"_s
      << u"                              return Math.abs(parseFloat($(this).attr(\"timestamp\")) - index)<0.20"_s
      << u"                            })"_s
      << u"                    .css({\"background-color\": \"yellow\", \"text-decoration\":\"underline\"})"_s
      << u"        });"_s
      << u"        var timeStamp, confidence, speaker"_s
      << u"        var elementT = document.getElementById(\"timeindex\")"_s
      << u"        var elementC = document.getElementById(\"confidence\")"_s
      << u"        var elementS = document.getElementById(\"speaker\")"_s
      << u"        $('.player').on({"_s
      << u"            \"click\": function movePlayHead() {"_s
      << u"                var timeStamp = $( this ).attr( \"timestamp\" )"_s
      << u"                var time = parseFloat(timeStamp)"_s
      << u"                console.log(time);"_s
      << u"                setTime(time);},"_s
      << u"            \"mouseover\": function showConfidence() {"_s
      << u"            timeStamp = parseFloat($( this ).attr( \"timestamp\" ))"_s
      << u"            confidence = $( this ).attr( \"conf\" )"_s
      << u"            speaker = $( this ).attr( \"speaker\" )"_s
      << QString()
      << u"            elementT.innerHTML = timeStamp.toFixed(3)"_s
      << u"            elementC.innerHTML = confidence"_s
      << u"            elementS.innerHTML = speaker; }"_s
      << u"        });"_s
      << u"    });"_s
      << u"    </script>"_s
      << u"    <style>"_s
      << u"        .conf0  {color: #eeeeee;}"_s
      << u"        .conf1  {color: #dddddd;}"_s
      << u"        .conf2  {color: #cccccc;}"_s
      << u"        .conf3  {color: #bbbbbb;}"_s
      << u"        .conf4  {color: #aaaaaa;}"_s
      << u"        .conf5  {color: #999999;}"_s
      << u"        .conf6  {color: #777777;}"_s
      << u"        .conf7  {color: #555555;}"_s
      << u"        .conf8  {color: #333333;}"_s
      << u"       .conf9  {color: #000000;}"_s
      << u"        body { padding-bottom: 170px; }"_s
      << u"        h1 {font-size: 18px; line-height: 1.0; margin-bottom: 0px; background-color:"_s
             + style.heading1Colour + u";}"_s
      << u"        h2 {font-size: 16px; line-height: 1.5; margin-bottom: 0px; background-color:"_s
             + style.heading2Colour + u";}"_s
      << u"        p {font-size: 16px;}"_s
      << u"    </style>"_s
      << u"  </head>"_s;
    return l;
}

QString karaokeAudioName(const QString &audioPath, const KaraokeStyle &style)
{
    const QString name = fileNamePart(audioPath);
    if (style.audioKind == u"mp4")
        return replaceExtension(name, u".mp4"_s);
    if (style.audioKind == u"mp3")
        return replaceExtension(name, u".mp3"_s);
    return name; // the joined recording exactly as it was written
}

QString karaokeAudioType(const KaraokeStyle &style)
{
    // "mp4" gets the mp3 media type too: the player treats both alike.
    return style.audioKind == u"mp4" || style.audioKind == u"mp3" ? u"audio/mpeg"_s : u"audio/wav"_s;
}

QStringList karaokeTail(const QString &audioPath, const KaraokeStyle &style)
{
    const QString audioName = karaokeAudioName(audioPath, style);
    const QString kind = karaokeAudioType(style);

    QStringList l;
    l.reserve(26);
    l << u"  <br />"_s
      << u"  "_s + htmlEscaped(audioName)
      << u"  <hr/>"_s
      << u"  <div class=\"container\">"_s
      << u"    <audio id=\"audioPlayer\" controls preload=\"none\">"_s
      // The name goes into a URL first (a "#" or "?" would end the path),
      // then into a quoted attribute.
      << u"      <source src=\""_s + htmlEscaped(urlEscaped(audioName)) + u"\" type=\""_s + kind
             + u"\">"_s
      << u"         Your browser does not support the audio element."_s
      << u"    </audio>"_s
      << u"    &nbsp;<span id=\"displayTimer\">0.0</span>"_s
      << u"    <table class=\"table\">"_s
      << u"      <thead>"_s
      << u"        <tr>"_s
      << u"          <th>Time_index</th><th>Confidence</th><th>Speaker</th>"_s
      << u"        </tr>"_s
      << u"      </thead>"_s
      << u"      <tbody>"_s
      << u"        <tr>"_s
      << u"          <td><div id=\"timeindex\">&nbsp;</div></td>"_s
      << u"          <td><div id=\"confidence\">&nbsp;</div></td>"_s
      << u"          <td><div id=\"speaker\">&nbsp;</div></td>"_s
      << u"        </tr>"_s
      << u"      </tbody>"_s
      << u"    </table>"_s
      << u"  </div>"_s
      << u" </body>"_s
      << u"</html>"_s;
    return l;
}
