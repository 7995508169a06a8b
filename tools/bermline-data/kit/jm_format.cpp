#include "kit/jm_format.h"

#include <cctype>
#include <cstdio>
#include <memory>

#include "data/data_file.h"
#include "data/scanner.h"
#include "kit/number_text.h"

namespace kit {

std::string write_jm(const Model& model) {
  std::string out = model.bone_count > 0 ? "JM2\n" : "JM1\n";
  if (model.bone_count > 0)
    out += std::to_string(model.bone_count) + " " + (model.rig_name.empty() ? "bones" : model.rig_name) + "\n";
  for (const Mesh& mesh : model.meshes) {
    const Material& m = mesh.material;
    out += number_text(m.shininess, 3) + " " + number_text(m.reflection, 3) + " " + number_text(m.specular.x, 3) +
           " " + number_text(m.specular.y, 3) + " " + number_text(m.specular.z, 3) + " " +
           std::to_string(mesh.vertices.size()) + " " + std::to_string(mesh.triangles.size()) + "\n";
    for (size_t i = 0; i < mesh.vertices.size(); ++i) {
      const Vertex& v = mesh.vertices[i];
      out += number_text(v.position.x, 4) + " " + number_text(v.position.y, 4) + " " + number_text(v.position.z, 4) +
             " " + number_text(v.normal.x, 4) + " " + number_text(v.normal.y, 4) + " " + number_text(v.normal.z, 4) +
             " " + number_text(v.u, 5) + " " + number_text(1 - v.v, 5);
      for (int b = 0; b < model.bone_count; ++b)
        out += " " + number_text(mesh.weights.empty() ? 0 : mesh.weights[i * model.bone_count + b], 4);
      out += "\n";
    }
    for (auto t : mesh.triangles)
      out += std::to_string(t[0]) + " " + std::to_string(t[1]) + " " + std::to_string(t[2]) + "\n";
  }
  return out;
}

namespace {

bool fail(std::string* error, const std::string& reason) {
  if (error) *error = reason;
  return false;
}

// One mesh in the layout above; false when its numbers run out.
bool read_mesh(DataFile* file, int version, int bones, Mesh* mesh) {
  double shininess, reflection, r, g, b;
  int vertex_count, triangle_count;
  if (version == 0) {
    if (df_scanf(file, "%d %d", &vertex_count, &triangle_count) != 2) return false;
  } else if (df_scanf(file, "%lf %lf %lf %lf %lf %d %d", &shininess, &reflection, &r, &g, &b, &vertex_count,
                      &triangle_count) != 7) {
    return false;
  } else {
    mesh->material = {shininess, reflection, {r, g, b}};
  }
  if (vertex_count < 0 || triangle_count < 0) return false;
  for (int i = 0; i < vertex_count; ++i) {
    double p[8];
    for (double& value : p)
      if (df_scanf(file, "%lf", &value) != 1) return false;
    mesh->vertices.push_back({{p[0], p[1], p[2]}, {p[3], p[4], p[5]}, p[6], 1 - p[7]});
    double sum = 0;
    size_t first = mesh->weights.size();
    for (int k = 0; k < bones; ++k) {
      double w;
      if (df_scanf(file, "%lf", &w) != 1) return false;
      mesh->weights.push_back(w);
      sum += w;
    }
    for (int k = 0; k < bones; ++k) mesh->weights[first + k] = sum != 0 ? mesh->weights[first + k] / sum : 1.0 / bones;
  }
  for (int i = 0; i < triangle_count; ++i) {
    int a, b2, c;
    if (df_scanf(file, "%d %d %d", &a, &b2, &c) != 3) return false;
    mesh->triangles.push_back({a, b2, c});
  }
  return true;
}

bool read_model(DataFile* file, Model* model, std::string* error) {
  *model = Model{};
  int c;
  do c = df_getc(file);
  while (c >= 0 && std::isspace(c));
  if (c < 0) return fail(error, "empty file");
  df_ungetc(file, c);
  int version = 0;
  if (c == 'J') {
    if (df_scanf(file, "JM%d", &version) != 1 || (version != 1 && version != 2))
      return fail(error, "unknown model version");
    if (version == 2) {
      char word[1024];
      if (df_scanf(file, "%d %1023s", &model->bone_count, word) != 2 || model->bone_count < 0)
        return fail(error, "bad bone count");
      model->rig_name = word;
    }
  }
  for (;;) {
    Mesh mesh;
    if (version == 0 && !model->meshes.empty()) break;  // version 0 holds one mesh
    if (!read_mesh(file, version, model->bone_count, &mesh)) break;
    for (auto t : mesh.triangles)
      for (int index : t)
        if (index < 0 || index >= static_cast<int>(mesh.vertices.size()))
          return fail(error, "triangle index out of range");
    model->meshes.push_back(std::move(mesh));
  }
  if (model->meshes.empty()) return fail(error, "no readable mesh");
  return true;
}

}  // namespace

bool read_jm_file(const std::string& path, Model* model, std::string* error) {
  std::unique_ptr<DataFile, DataFileCloser> file(df_open(path.c_str(), "rb"));
  if (!file) return fail(error, "can't open");
  return read_model(file.get(), model, error);
}

bool read_jm_bytes(const std::string& bytes, Model* model, std::string* error) {
  std::string copy = bytes.empty() ? std::string(" ") : bytes;
  FILE* stream = fmemopen(copy.data(), copy.size(), "rb");
  if (!stream) return fail(error, "can't open");
  std::unique_ptr<DataFile, DataFileCloser> file(df_open_stream(stream));
  if (!file) return fail(error, "can't open");
  return read_model(file.get(), model, error);
}

}  // namespace kit
