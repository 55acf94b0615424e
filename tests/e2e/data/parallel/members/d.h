// The class whose member c.cpp defines.
class Later {
 public:
  int size(int n);
 private:
  int count;
};
