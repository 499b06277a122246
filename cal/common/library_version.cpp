// Anchors the library so that it links while its modules grow.
namespace pelix::cal {
int libraryRevision() { return 1; }
} // namespace pelix::cal
