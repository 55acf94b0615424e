/* Declares the handler macros the other files use. */
#define HANDLER(name) void name(int code)
#define EXPORTED static

int registry_size(void)
{
  return 4;
}
