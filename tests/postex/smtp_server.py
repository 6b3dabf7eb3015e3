"""A small SMTP server for the tests of postex, on the loopback address, standard library only.

It accepts one client, speaks enough SMTP for it (EHLO, STARTTLS, AUTH PLAIN and LOGIN, MAIL,
RCPT, DATA, RSET, NOOP, QUIT), and writes what it received into the output folder:
  envelope-from, envelope-to   the MAIL FROM and RCPT TO addresses, one a line
  message.eml                  the message as received
  subject, body, attachment-name, attachment, content-types, headers
                               the message as Python's email package reads it
  session                      every command and reply, one a line (credentials left out)
The port it listens on is written to --port-file once it listens. It stops after the client
leaves, or after --timeout seconds.
"""

import argparse
import base64
import email
import email.policy
import os
import socket
import ssl
import sys


def parse_args():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port-file", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--cert")
    parser.add_argument("--key")
    parser.add_argument("--implicit-tls", action="store_true")
    parser.add_argument("--no-starttls", action="store_true")
    parser.add_argument("--login", help="user:password the server accepts")
    parser.add_argument("--refuse-rcpt", action="append", default=[])
    parser.add_argument("--timeout", type=float, default=30.0)
    return parser.parse_args()


class Session:
    def __init__(self, conn, args, tls_context):
        self.conn = conn
        self.args = args
        self.tls_context = tls_context
        self.reader = conn.makefile("rb")
        self.log = []
        self.authenticated = args.login is None
        self.mail_from = None
        self.rcpts = []

    def reply(self, text):
        self.log.append("S: " + text)
        self.conn.sendall((text + "\r\n").encode("ascii"))

    def readline(self):
        line = self.reader.readline(65536)
        if not line:
            raise EOFError
        return line.decode("utf-8", "replace").rstrip("\r\n")

    def starttls(self):
        self.reply("220 2.0.0 Ready to start TLS")
        self.reader.close()
        self.conn = self.tls_context.wrap_socket(self.conn, server_side=True)
        self.reader = self.conn.makefile("rb")

    def ehlo(self):
        lines = ["250-localhost greets you", "250-8BITMIME"]
        tls_active = isinstance(self.conn, ssl.SSLSocket)
        if self.tls_context and not tls_active and not self.args.no_starttls:
            lines.append("250-STARTTLS")
        if self.args.login:
            lines.append("250-AUTH PLAIN LOGIN")
        lines.append("250 HELP")
        for line in lines:
            self.reply(line)

    def check_login(self, user, password):
        if f"{user}:{password}" == self.args.login:
            self.authenticated = True
            self.reply("235 2.7.0 Authentication successful")
        else:
            self.reply("535 5.7.8 Authentication credentials invalid")

    def auth(self, words):
        mechanism = words[1].upper() if len(words) > 1 else ""
        if mechanism == "PLAIN":
            encoded = words[2] if len(words) > 2 else None
            if encoded is None:
                self.reply("334 ")
                encoded = self.readline()
            parts = base64.b64decode(encoded).decode("utf-8").split("\0")
            self.check_login(parts[1], parts[2])
        elif mechanism == "LOGIN":
            self.reply("334 VXNlcm5hbWU6")
            user = base64.b64decode(self.readline()).decode("utf-8")
            self.reply("334 UGFzc3dvcmQ6")
            password = base64.b64decode(self.readline()).decode("utf-8")
            self.check_login(user, password)
        else:
            self.reply("504 5.5.4 Unrecognized authentication type")

    def data(self):
        self.reply("354 End data with <CR><LF>.<CR><LF>")
        lines = []
        while True:
            raw = self.reader.readline(65536)
            if not raw:
                raise EOFError
            if raw in (b".\r\n", b".\n"):
                break
            if raw.startswith(b"."):
                raw = raw[1:]
            lines.append(raw)
        save_message(self.args.out, self.mail_from, self.rcpts, b"".join(lines))
        self.reply("250 2.0.0 Ok: queued")

    def run(self):
        self.reply("220 localhost ESMTP test server")
        while True:
            line = self.readline()
            words = line.split()
            verb = words[0].upper() if words else ""
            self.log.append("C: " + (verb + " ..." if verb == "AUTH" else line))
            if verb in ("EHLO", "HELO"):
                self.ehlo()
            elif verb == "STARTTLS" and self.tls_context and not self.args.no_starttls:
                self.starttls()
            elif verb == "AUTH":
                self.auth(words)
            elif verb == "MAIL":
                if not self.authenticated:
                    self.reply("530 5.7.0 Authentication required")
                    continue
                self.mail_from = line.split(":", 1)[1].strip().strip("<>")
                self.rcpts = []
                self.reply("250 2.1.0 Ok")
            elif verb == "RCPT":
                address = line.split(":", 1)[1].strip().strip("<>")
                if address in self.args.refuse_rcpt:
                    self.reply(f"550 5.1.1 <{address}>: Recipient address rejected")
                else:
                    self.rcpts.append(address)
                    self.reply("250 2.1.5 Ok")
            elif verb == "DATA":
                self.data()
            elif verb in ("RSET", "NOOP"):
                self.reply("250 2.0.0 Ok")
            elif verb == "QUIT":
                self.reply("221 2.0.0 Bye")
                return
            else:
                self.reply("502 5.5.2 Command not recognized")


def write(folder, name, text):
    with open(os.path.join(folder, name), "w", encoding="utf-8", newline="") as f:
        f.write(text)


def save_message(folder, mail_from, rcpts, raw):
    with open(os.path.join(folder, "message.eml"), "wb") as f:
        f.write(raw)
    write(folder, "envelope-from", mail_from + "\n")
    write(folder, "envelope-to", "".join(r + "\n" for r in rcpts))
    message = email.message_from_bytes(raw, policy=email.policy.default)
    write(folder, "subject", str(message["Subject"]))
    write(folder, "headers", "".join(f"{k}: {v}\n" for k, v in message.items()))
    types = []
    for part in message.walk():
        types.append(part.get_content_type())
        if part.get_content_maintype() == "multipart":
            continue
        if part.get_filename():
            write(folder, "attachment-name", part.get_filename())
            with open(os.path.join(folder, "attachment"), "wb") as f:
                f.write(part.get_payload(decode=True))
        else:
            with open(os.path.join(folder, "body"), "wb") as f:
                f.write(part.get_payload(decode=True))
    write(folder, "content-types", "".join(t + "\n" for t in types))


def main():
    args = parse_args()
    tls_context = None
    if args.cert:
        tls_context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        tls_context.load_cert_chain(args.cert, args.key)
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", 0))
    listener.listen(1)
    listener.settimeout(args.timeout)
    with open(args.port_file + ".part", "w") as f:
        f.write(str(listener.getsockname()[1]))
    os.rename(args.port_file + ".part", args.port_file)
    try:
        conn, _ = listener.accept()
    except socket.timeout:
        return 1
    conn.settimeout(args.timeout)
    if args.implicit_tls:
        conn = tls_context.wrap_socket(conn, server_side=True)
    session = Session(conn, args, tls_context)
    try:
        session.run()
    except (EOFError, OSError, ssl.SSLError) as error:
        session.log.append("!: " + type(error).__name__)
    finally:
        write(args.out, "session", "".join(line + "\n" for line in session.log))
        conn.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
