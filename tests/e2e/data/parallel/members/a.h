// A class whose members are defined in two other files.
class Shape {
 public:
  int area(int w, int h);
  int edges();
 private:
  int kind;
};
