// Downloads one address into a file with the game's download client, the way the
// update does, and prints the bytes received.
#include "online/thttpcli.h"

#include <cstdint>
#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: httpcli_get URL FILE\n";
    return 2;
  }
  std::ofstream file(argv[2], std::ios::binary | std::ios::trunc);
  if (!file) {
    std::cerr << "httpcli_get: cannot create " << argv[2] << '\n';
    return 1;
  }
  velnor::THttpCli client;
  client.URL = argv[1];
  client.BodyStream = &file;
  try {
    client.GetSync();
  } catch (const std::exception& e) {
    std::cerr << "httpcli_get: " << e.what() << '\n';
    return 1;
  }
  client.BodyStream = nullptr;
  const std::uint64_t bytes = static_cast<std::uint64_t>(file.tellp());
  file.close();
  if (!file) {
    std::cerr << "httpcli_get: cannot write " << argv[2] << '\n';
    return 1;
  }
  std::cout << bytes << " bytes\n";
  return 0;
}
