// layout.cpp -- layouts in edit-descriptor notation: parsed once and cached, then run over
// the values of a WRITE with the Fortran rules of format control: repeat counts, groups,
// the scale factor kept to the end of the WRITE, reversion to the last top-level group,
// and the end of output at the first data edit descriptor left without a value.
#include <array>
#include <cctype>
#include <cstring>
#include <functional>
#include <memory>
#include <stdexcept>
#include <unordered_map>

#include "io/edit.h"

namespace io::edit {

namespace {

[[noreturn]] void bad(const std::string& text, const char* why) {
  throw std::logic_error("layout " + text + ": " + why);
}

class Parser {
 public:
  explicit Parser(Layout& lay) : L(lay), s(lay.text) {}

  void parse() {
    skip();
    if (!eat('(')) bad(L.text, "must start with '('");
    list(0);
    if (!eat(')')) bad(L.text, "missing ')'");
    skip();
    if (i != s.size()) bad(L.text, "text after the closing ')'");
  }

 private:
  Layout& L;
  std::string_view s;
  std::size_t i = 0;

  void skip() { while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i; }
  char peek() {
    skip();
    if (i >= s.size()) return '\0';
    const char c = s[i];
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  bool eat(char c) { if (peek() == c) { ++i; return true; } return false; }
  bool digit() { return std::isdigit(static_cast<unsigned char>(peek())) != 0; }

  int number() {  // unsigned, blanks allowed between digits as in Fortran
    if (!digit()) bad(L.text, "number expected");
    long v = 0;
    while (digit()) {
      v = v * 10 + (s[i++] - '0');
      if (v > 100000) bad(L.text, "number too large");
    }
    return static_cast<int>(v);
  }

  Node& add(Op op) {
    L.nodes.push_back(Node{});
    L.nodes.back().op = op;
    return L.nodes.back();
  }

  void literal(char q) {  // 'text' or "text", a doubled quote stands for one
    ++i;
    Node& n = add(Op::LIT);
    n.lit = static_cast<std::uint32_t>(L.lits.size());
    for (;;) {
      if (i >= s.size()) bad(L.text, "unterminated literal");
      if (s[i] == q) {
        if (i + 1 < s.size() && s[i + 1] == q) { L.lits += q; i += 2; continue; }
        ++i;
        break;
      }
      L.lits += s[i++];
    }
    n.len = static_cast<std::uint32_t>(L.lits.size()) - n.lit;
  }

  void width_check(int w) { if (w > WMAX) bad(L.text, "field width too large"); }

  void descriptor(char c, int rep) {
    ++i;
    Node* n = nullptr;
    switch (c) {
      case 'I':
        n = &add(Op::I);
        n->w = number();
        if (eat('.')) n->m = number();
        break;
      case 'F':
        n = &add(Op::F);
        n->w = number();
        if (!eat('.')) bad(L.text, "F needs w.d");
        n->d = number();
        break;
      case 'E':
      case 'D':
        n = &add(c == 'E' ? Op::E : Op::D);
        n->w = number();
        if (!eat('.')) bad(L.text, "E needs w.d");
        n->d = number();
        if (c == 'E' && peek() == 'E') { ++i; n->e = number(); }
        break;
      case 'A':
        n = &add(Op::A);
        n->w = digit() ? number() : -1;
        if (n->w == 0) bad(L.text, "A0");
        break;
      case 'L':
        n = &add(Op::L);
        n->w = number();
        if (n->w == 0) bad(L.text, "L0");
        break;
      default:
        bad(L.text, "unknown edit descriptor");
    }
    width_check(n->w);
    if (n->d > DMAX || n->m > WMAX) bad(L.text, "too many digits");
    if (rep < 1) bad(L.text, "repeat count 0");
    n->rep = rep;
    L.has_data = true;
  }

  void list(int level) {
    for (;;) {
      char c = peek();
      if (c == '\0' || c == ')') return;
      if (c == ',') { ++i; continue; }
      if (c == '\'' || c == '"') { literal(s[i]); continue; }
      if (c == '/') { ++i; add(Op::SLASH); continue; }
      if (c == ':') { ++i; add(Op::COLON); continue; }
      if (c == '\\' || c == '$') { ++i; add(Op::NOADV); continue; }
      if (c == '(') { group(level, 1); continue; }
      if (c == '+' || c == '-' || digit()) {
        const bool sign = c == '+' || c == '-';
        if (sign) ++i;
        int n = number();
        if (c == '-') n = -n;
        c = peek();
        if (c == 'P') {
          ++i;
          if (n < -DMAX || n > DMAX) bad(L.text, "scale factor too large");
          add(Op::SCALE).k = n;
          continue;
        }
        if (sign) bad(L.text, "sign without P");
        if (c == 'X') { ++i; add(Op::X).w = n; continue; }
        if (c == 'H') {  // Hollerith: the next n characters as they stand
          ++i;
          if (i + static_cast<std::size_t>(n) > s.size()) bad(L.text, "Hollerith text runs past the end");
          Node& h = add(Op::LIT);
          h.lit = static_cast<std::uint32_t>(L.lits.size());
          L.lits.append(s.substr(i, static_cast<std::size_t>(n)));
          h.len = static_cast<std::uint32_t>(n);
          i += static_cast<std::size_t>(n);
          continue;
        }
        if (c == '(') { group(level, n); continue; }
        if (c == '/') { ++i; add(Op::SLASH).rep = n; continue; }
        descriptor(c, n);
        continue;
      }
      if (c == 'X') { ++i; add(Op::X).w = 1; continue; }
      if (c == 'T') {
        ++i;
        if (peek() == 'L') { ++i; add(Op::TL).w = number(); }
        else if (peek() == 'R') { ++i; add(Op::X).w = number(); }
        else add(Op::T).w = number();
        continue;
      }
      descriptor(c, 1);
    }
  }

  void group(int level, int rep) {
    if (level >= 8) bad(L.text, "groups nested too deeply");
    if (rep < 1) bad(L.text, "repeat count 0");
    ++i;  // '('
    const int open = static_cast<int>(L.nodes.size());
    add(Op::OPEN).rep = rep;
    if (level == 0) L.revert = open;
    list(level + 1);
    if (!eat(')')) bad(L.text, "missing ')'");
    const int close = static_cast<int>(L.nodes.size());
    add(Op::CLOSE).other = open;
    L.nodes[static_cast<std::size_t>(open)].other = close;
  }
};

// Layouts by content, and a direct-mapped table in front by address of the text.
struct Cache {
  std::unordered_map<std::string_view, std::unique_ptr<Layout>> by_text;
  struct Slot {
    const char* p = nullptr;
    const Layout* lay = nullptr;
  };
  std::array<Slot, 4096> by_addr{};
};

Cache& cache() {
  thread_local Cache c;
  return c;
}

// One scalar value taken from the items, arrays element by element.
struct Cursor {
  Cursor(const Item* it, std::size_t count) : items(it), n(count) {}
  const Item* items;
  std::size_t n;
  std::size_t i = 0, j = 0;

  bool more() {
    while (i < n && (items[i].kind == Item::INTS || items[i].kind == Item::REALS) && j >= items[i].n) {
      ++i;
      j = 0;
    }
    return i < n;
  }
  // The next value as a scalar item (more() must be true): the item itself, or an array
  // element in the cursor's own item.
  Item elem;
  const Item& next() {
    const Item& it = items[i];
    if (it.kind == Item::INTS) {
      elem.kind = Item::INT;
      elem.i = it.ip[j++];
      return elem;
    }
    if (it.kind == Item::REALS) {
      elem.kind = Item::REAL;
      elem.r = it.rp[j++];
      return elem;
    }
    ++i;
    return it;
  }
};

const char* kind_name(const Item& v) {
  switch (v.kind) {
    case Item::INT: return "an integer";
    case Item::REAL: return "a real";
    case Item::TEXT: return "a text";
    case Item::LOGICAL: return "a logical";
    default: return "an array";
  }
}

[[noreturn]] void mismatch(const Layout& lay, const char* desc, const Item& v) {
  throw std::logic_error(std::string("layout ") + lay.text + ": " + desc + " edit descriptor given " + kind_name(v));
}

// Aw: the first w characters of a longer text, a shorter one right-justified.
void put_a(Sink& out, std::string_view s, int w) {
  if (w < 0) { out.put(s); return; }
  const std::size_t uw = static_cast<std::size_t>(w);
  if (s.size() >= uw) { out.put(s.data(), uw); return; }
  static constexpr char BLANKS[] = "                                                                ";
  std::size_t pad = uw - s.size();
  while (pad > 0) {
    const std::size_t k = pad < sizeof BLANKS - 1 ? pad : sizeof BLANKS - 1;
    out.put(BLANKS, k);
    pad -= k;
  }
  out.put(s);
}

// One value in its field; sh, when given, receives what a numeric field shows (texts and
// logicals show nothing to take back).
void data(const Layout& lay, const Node& nd, const Item& v, int k, Sink& out, Shown* sh) {
  char buf[FIELD_MAX];
  int len = 0;
  switch (nd.op) {
    case Op::I:
      if (v.kind != Item::INT) mismatch(lay, "I", v);
      len = put_int(buf, v.i, nd.w, nd.m, sh);
      break;
    case Op::F:
      if (v.kind != Item::REAL) mismatch(lay, "F", v);
      len = put_f(buf, v.r, nd.w, nd.d, k, sh);
      break;
    case Op::E:
    case Op::D:
      if (v.kind != Item::REAL) mismatch(lay, "E", v);
      len = put_e(buf, v.r, nd.w, nd.d, nd.e, k, nd.op == Op::E ? 'E' : 'D', sh);
      break;
    case Op::A:
      if (v.kind != Item::TEXT) mismatch(lay, "A", v);
      put_a(out, v.s, nd.w);
      if (sh != nullptr) sh->n = -1;
      return;
    case Op::L:
      if (v.kind != Item::LOGICAL) mismatch(lay, "L", v);
      put_a(out, v.i ? "T" : "F", nd.w);
      if (sh != nullptr) sh->n = -1;
      return;
    default:
      return;
  }
  out.put(buf, static_cast<std::size_t>(len));
}

// The field of the next value of a held WRITE: its place in the record and what it shows.
Shown* held_field(Held* held, const Sink& out) {
  if (held == nullptr) return nullptr;
  if (held->n == MXHELD) {
    held->ok = false;
    return nullptr;
  }
  HeldField& f = held->f[held->n++];
  f.from = out.pos();
  return &f.shown;
}
void held_end(Held* held, const Sink& out) {
  if (held != nullptr && held->ok) held->f[held->n - 1].to = out.pos();
}

bool is_data(Op op) { return op == Op::I || op == Op::F || op == Op::E || op == Op::D || op == Op::A || op == Op::L; }

}  // namespace

// A record beyond the buffer of the sink is built in rec_ itself.
void Sink::put_big(const char* s, std::size_t n) {
  if (!big_) {
    rec_.assign(buf_, len_);
    big_ = true;
  }
  if (pos_ > rec_.size()) rec_.append(pos_ - rec_.size(), ' ');
  const std::size_t over = rec_.size() - pos_;  // characters from pos_ to the end
  if (over >= n) {
    rec_.replace(pos_, n, s, n);
  } else {
    rec_.replace(pos_, over, s, over);
    rec_.append(s + over, n - over);
  }
  pos_ += n;
}

const Layout& layout_of(const char* text) {
  Cache& c = cache();
  const auto a = reinterpret_cast<std::uintptr_t>(text);
  Cache::Slot& slot = c.by_addr[((a >> 3) ^ (a >> 15)) % c.by_addr.size()];
  if (slot.p == text && std::strcmp(text, slot.lay->text.c_str()) == 0) return *slot.lay;
  auto it = c.by_text.find(std::string_view(text));
  if (it == c.by_text.end()) {
    auto lay = std::make_unique<Layout>();
    lay->text = text;
    Parser(*lay).parse();
    const std::string_view key = lay->text;
    it = c.by_text.emplace(key, std::move(lay)).first;
  }
  slot.p = text;
  slot.lay = it->second.get();
  return *slot.lay;
}

bool run_layout(const Layout& lay, const Item* items, std::size_t n, Sink& out, Held* held) {
  struct Frame {
    int open;
    int left;
  };
  Frame stack[10];
  int depth = 0;
  Cursor cur{items, n};
  const std::vector<Node>& nodes = lay.nodes;
  const int end = static_cast<int>(nodes.size());
  int k = 0;  // scale factor
  bool noadv = false;
  bool wrote = false;  // a value went out since the start or the last reversion
  int idx = 0;
  for (;;) {
    if (idx == end) {  // the closing parenthesis of the layout
      if (!cur.more()) break;
      if (!wrote) throw std::logic_error("layout " + lay.text + ": no edit descriptor for the values");
      out.end_record();
      idx = lay.revert;
      wrote = false;
      continue;
    }
    const Node& nd = nodes[static_cast<std::size_t>(idx)];
    switch (nd.op) {
      case Op::LIT: out.put(lay.lits.data() + nd.lit, nd.len); break;
      case Op::X: out.skip(nd.w); break;
      case Op::T:
        out.tab(nd.w);
        if (held != nullptr) held->ok = false;
        break;
      case Op::TL:
        out.tab_left(nd.w);
        if (held != nullptr) held->ok = false;
        break;
      case Op::SLASH:
        for (int r = 0; r < nd.rep; ++r) out.end_record();
        break;
      case Op::COLON:
        if (!cur.more()) return noadv;
        break;
      case Op::NOADV: noadv = true; break;
      case Op::SCALE: k = nd.k; break;
      case Op::OPEN:
        stack[depth++] = Frame{idx, nd.rep};
        break;
      case Op::CLOSE:
        if (--stack[depth - 1].left > 0) {
          idx = stack[depth - 1].open + 1;
          continue;
        }
        --depth;
        break;
      default:
        if (is_data(nd.op)) {
          for (int r = 0; r < nd.rep; ++r) {
            if (!cur.more()) return noadv;
            Shown* sh = held_field(held, out);
            data(lay, nd, cur.next(), k, out, sh);
            held_end(held, out);
            wrote = true;
          }
        }
        break;
    }
    ++idx;
  }
  return noadv;
}

void run_list(const Item* items, std::size_t n, Sink& out, Held* held) {
  Cursor cur{items, n};
  bool first = true, prev_text = false;
  char buf[FIELD_MAX];
  while (cur.more()) {
    const Item& v = cur.next();
    const bool text = v.kind == Item::TEXT;
    // A blank starts the record and separates the values, except between two texts.
    if (first || !(text && prev_text)) out.put(" ", 1);
    first = false;
    prev_text = text;
    Shown* sh = held_field(held, out);
    switch (v.kind) {
      case Item::INT: out.put(buf, static_cast<std::size_t>(put_list_int(buf, v.i, sh))); break;
      case Item::REAL: out.put(buf, static_cast<std::size_t>(put_list_real(buf, v.r, sh))); break;
      case Item::LOGICAL: out.put(v.i ? "T" : "F", 1); break;
      default: out.put(v.s); break;
    }
    if (sh != nullptr && (v.kind == Item::LOGICAL || v.kind == Item::TEXT)) sh->n = -1;
    held_end(held, out);
  }
}

}  // namespace io::edit
