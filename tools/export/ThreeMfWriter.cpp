#include "ThreeMfWriter.h"

#include "FileWriting.h"

#include <Model/COM/NMR_DLLInterfaces.h>

#include <algorithm>
#include <memory>

using namespace NMR;

namespace {

// Releases a lib3mf instance when it goes out of scope.
struct Released {
    void operator()(void* instance) const {
        if (instance != nullptr) lib3mf_release(static_cast<PLib3MFBase*>(instance));
    }
};
template <class T>
using Owned = std::unique_ptr<T, Released>;

BYTE channel(float value) { return static_cast<BYTE>(std::clamp(value, 0.0f, 1.0f) * 255.0f + 0.5f); }

// Builds the model; false (with the failing step named) when lib3mf refuses.
bool buildModel(PLib3MFModel* model, const std::vector<SolidPart>& parts, std::string& problem) {
    lib3mf_model_setunit(model, MODELUNIT_MILLIMETER);
    PLib3MFModelBaseMaterial* materialsRaw = nullptr;
    if (lib3mf_model_addbasematerialgroup(model, &materialsRaw) != LIB3MF_OK) return problem = "base materials", false;
    Owned<PLib3MFModelBaseMaterial> materials(materialsRaw);
    DWORD groupId = 0;
    lib3mf_resource_getresourceid(materials.get(), &groupId);
    // The parts first: readers want an object defined before a component
    // refers to it.
    std::vector<Owned<PLib3MFModelMeshObject>> meshes;
    for (const SolidPart& part : parts) {
        DWORD materialIndex = 0;
        if (lib3mf_basematerial_addmaterialutf8(materials.get(), part.name.c_str(), channel(part.colour[0]),
                                                channel(part.colour[1]), channel(part.colour[2]),
                                                &materialIndex) != LIB3MF_OK)
            return problem = "the material of " + part.name, false;
        lib3mf_basematerial_setdisplaycolorrgba(materials.get(), materialIndex, channel(part.colour[0]),
                                                channel(part.colour[1]), channel(part.colour[2]), 255);
        PLib3MFModelMeshObject* meshRaw = nullptr;
        if (lib3mf_model_addmeshobject(model, &meshRaw) != LIB3MF_OK) return problem = "a part", false;
        Owned<PLib3MFModelMeshObject> mesh(meshRaw);
        lib3mf_object_setnameutf8(mesh.get(), part.name.c_str());
        std::vector<MODELMESHVERTEX> vertices(part.mesh.vertices.size());
        for (std::size_t i = 0; i < vertices.size(); ++i)
            for (int k = 0; k < 3; ++k) vertices[i].m_fPosition[k] = part.mesh.vertices[i][k];
        std::vector<MODELMESHTRIANGLE> triangles(part.mesh.triangles.size());
        for (std::size_t i = 0; i < triangles.size(); ++i)
            for (int k = 0; k < 3; ++k) triangles[i].m_nIndices[k] = part.mesh.triangles[i][k];
        if (lib3mf_meshobject_setgeometry(mesh.get(), vertices.data(), static_cast<DWORD>(vertices.size()),
                                          triangles.data(), static_cast<DWORD>(triangles.size())) != LIB3MF_OK)
            return problem = "the triangles of " + part.name, false;
        PLib3MFDefaultPropertyHandler* handlerRaw = nullptr;
        if (lib3mf_object_createdefaultpropertyhandler(mesh.get(), &handlerRaw) == LIB3MF_OK) {
            Owned<PLib3MFDefaultPropertyHandler> handler(handlerRaw);
            lib3mf_defaultpropertyhandler_setbasematerial(handler.get(), groupId, materialIndex);
        }
        meshes.push_back(std::move(mesh));
    }
    PLib3MFModelComponentsObject* logoRaw = nullptr;
    if (lib3mf_model_addcomponentsobject(model, &logoRaw) != LIB3MF_OK) return problem = "the object", false;
    Owned<PLib3MFModelComponentsObject> logo(logoRaw);
    lib3mf_object_setnameutf8(logo.get(), "logo");
    for (const auto& mesh : meshes) {
        PLib3MFModelComponent* componentRaw = nullptr;
        if (lib3mf_componentsobject_addcomponent(logo.get(), mesh.get(), nullptr, &componentRaw) != LIB3MF_OK)
            return problem = "a part of the object", false;
        Owned<PLib3MFModelComponent> component(componentRaw);
    }
    PLib3MFModelBuildItem* itemRaw = nullptr;
    if (lib3mf_model_addbuilditem(model, logo.get(), nullptr, &itemRaw) != LIB3MF_OK) return problem = "the build", false;
    Owned<PLib3MFModelBuildItem> item(itemRaw);
    return true;
}

}  // namespace

std::string ThreeMfBytes(const std::vector<SolidPart>& parts, std::string& problem) {
    PLib3MFModel* modelRaw = nullptr;
    if (lib3mf_createmodel(&modelRaw) != LIB3MF_OK) {
        problem = "lib3mf cannot make a model";
        return {};
    }
    Owned<PLib3MFModel> model(modelRaw);
    std::string step;
    if (!buildModel(model.get(), parts, step)) {
        problem = "lib3mf refused " + step;
        return {};
    }
    PLib3MFModelWriter* writerRaw = nullptr;
    ULONG64 size = 0;
    if (lib3mf_model_querywriter(model.get(), "3mf", &writerRaw) != LIB3MF_OK) {
        problem = "lib3mf has no 3MF writer";
        return {};
    }
    Owned<PLib3MFModelWriter> writer(writerRaw);
    std::string bytes;
    if (lib3mf_writer_getstreamsize(writer.get(), &size) == LIB3MF_OK) {
        bytes.resize(static_cast<std::size_t>(size));
        if (lib3mf_writer_writetobuffer(writer.get(), reinterpret_cast<BYTE*>(&bytes[0]), size) == LIB3MF_OK)
            return bytes;
    }
    problem = "lib3mf cannot write the 3MF package";
    return {};
}

WriteResult Write3mf(const std::vector<SolidPart>& parts, const std::string& path) {
    std::string problem;
    const std::string bytes = ThreeMfBytes(parts, problem);
    if (!problem.empty()) return problem + " for " + path;
    return WriteWholeFile(path, bytes);
}
