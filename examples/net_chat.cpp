// Network chat: one program hosts a session, others join it, and every player's lines reach
// everyone.
//
//   build/examples/example_net_chat host [port]          hosts (port 26000 by default)
//   build/examples/example_net_chat join <server> [port]  joins, e.g. join 127.0.0.1
//
// Type a line and press Enter to send it to every player. A joiner says hello once its player
// exists, and the host welcomes each player the first time it hears from them; a joiner that
// finds no host keeps trying once a second. The player list and the last
// lines stand on the screen. ESC ends it.
#include "corvane.h"

namespace {

constexpr int kLogLines = 14;

struct Chat {
    RtString me = "-1";  // this program's player id, "-1" until it has one
    RtStringArray log;   // the last lines, oldest first
    double logCount = 0;
    RtString greeted = "|";  // the ids the host has welcomed, between bars
};

void Say(Chat& c, const RtString& line) {
    if (c.logCount == kLogLines) {
        for (double i = 1; i < kLogLines; ++i) c.log(i - 1) = c.log(i);
        c.logCount -= 1;
    }
    c.log(c.logCount) = line;
    c.logCount += 1;
}

// The word after the first blank of the command line, counting from word 0.
RtString Word(const RtString& line, double n) {
    RtStringArray words;
    const double count = StringSplit(line, RtString(" "), words);
    return n < count ? words(n) : RtString("");
}

void Draw(const Chat& c, const RtString& status, const RtString& typing) {
    RectDraw(0, 0, 640, 480, 0x281810);
    TextPrint(status, 10, 10);
    // The players, one coloured block each (player ids are 1 or more).
    const double players = NetPlayerCount();
    for (double i = 0; i < players; ++i) {
        const RtString id = NetPlayerId(i);
        RectDraw(450, 40 + i * 24, 16, 16, id == c.me ? 0x40C040 : 0x40A0F0);
        TextPrint(NetPlayerName(id), 474, 42 + i * 24);
    }
    for (double i = 0; i < c.logCount; ++i) TextPrint(c.log(i), 10, 40 + i * 20);
    RectDraw(0, 440, 640, 40, 0x402818);
    TextPrint(RtString("> ") + typing + "_", 10, 452);
}

}  // namespace

void GameMain() {
    const RtString line = CommandLineGet();
    const bool hosting = Word(line, 0) == "host";
    const RtString server = hosting ? RtString("") : Word(line, 1);
    const RtString port = Word(line, hosting ? 1 : 2);
    // A window that loses the focus normally pauses in FramePresent; a chat must go on
    // answering while another program's window is in front.
    AutoPauseSet(0);
    Chat c;
    ArrayDim(c.log, kLogLines);
    RtString status = "starting", typing;
    for (double frame = 0;; ++frame) {
        if (c.me == "-1" && MathMod(frame, 60) == 0) {
            // Hosting listens at once; joining needs a host that answers.
            const double up = hosting ? NetHost(port) : NetJoin(server, port);
            if (up == 1) {
                c.me = NetPlayerCreate(RtString(hosting ? "host" : "guest"));
                status = RtString(hosting ? "hosting, player " : "joined, player ") + c.me;
                // Only once its own player exists can a program send or be sent to.
                if (!hosting && c.me != "-1") {
                    NetMessageSend(c.me, RtString("0"), RtString("hello, everyone"));
                    Say(c, RtString("me: hello, everyone"));
                }
            } else {
                status = RtString("no host at ") + server + " yet, trying again";
            }
        }
        if (c.me != "-1") {
            // Every waiting line, with the name of the player who sent it; the host welcomes a
            // player the first time it hears from them.
            for (RtString m = NetMessageGet(c.me); m != ""; m = NetMessageGet(c.me)) {
                const RtString from = NetMessageSender();
                Say(c, NetPlayerName(from) + ": " + m);
                const RtString mark = from + "|";
                if (hosting && StringFind(c.greeted, RtString("|") + mark, 0) < 0) {
                    c.greeted = c.greeted + mark;
                    NetMessageSend(c.me, from, RtString("welcome, ") + NetPlayerName(from) + "!");
                }
            }
        }
        const RtString key = KeyCharGet();
        if (key == "\r" || key == "\n") {
            if (c.me != "-1" && !(typing == "")) {
                NetMessageSend(c.me, RtString("0"), typing);
                Say(c, RtString("me: ") + typing);
            }
            typing = "";
        } else if (key == "\b") {
            typing = StringMid(typing, 0, StringLength(typing) - 1);
        } else if (!(key == "")) {
            typing = typing + key;
        }
        Draw(c, status, typing);
        FramePresent();
    }
}
